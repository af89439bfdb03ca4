#include "platform/linux/open_jtalk_engine.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <utility>

#include "platform/lead_in.h"
#include "platform/wave_file.h"

namespace chimewell {
namespace {

// Ours and still there: a folder of that name made by someone else is not used.
bool IsOwnFolder(const std::string& path) {
  struct stat st {};
  return ::lstat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::getuid();
}

// Writes one line and closes the pipe; false when the reader has gone.
bool SendLine(int fd, std::string line) {
  line += '\n';
  size_t done = 0;
  while (done < line.size()) {
    const ssize_t n = ::write(fd, line.data() + done, line.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    done += static_cast<size_t>(n);
  }
  ::close(fd);
  return done == line.size();
}

}  // namespace

OpenJTalkEngine::OpenJTalkEngine(OpenJTalkSetup setup, std::chrono::milliseconds limit,
                                 FaultReport report)
    : setup_(std::move(setup)), limit_(limit) {
  EnsureWorkDir();
  watchdog_ = std::thread([this, report = std::move(report)] {
    RunCatchingFaults(
        "speech", [this] { Watch(); }, report);
  });
}

OpenJTalkEngine::~OpenJTalkEngine() {
  {
    const std::lock_guard lock(mutex_);
    quit_ = true;
  }
  cv_.notify_all();
  watchdog_.join();
  Discard(spare_);
  if (!work_dir_.empty()) {
    std::error_code ec;
    std::filesystem::remove_all(work_dir_, ec);
  }
}

void OpenJTalkEngine::Warm() {
  if (!spare_.process) spare_ = StartSpare();
}

void OpenJTalkEngine::Stop() {
  const std::lock_guard lock(mutex_);
  stopped_ = true;
  if (running_) running_->Kill();
}

void OpenJTalkEngine::Reset() {
  const std::lock_guard lock(mutex_);
  stopped_ = false;
}

bool OpenJTalkEngine::EnsureWorkDir() {
  if (IsOwnFolder(work_dir_)) return true;
  // A fresh name rather than the old one: anyone could have taken that meanwhile.
  std::string fresh = MakeOpenJTalkWorkFolder("speech");
  if (fresh.empty()) return false;
  if (!work_dir_.empty()) {
    std::error_code ec;
    std::filesystem::remove_all(work_dir_, ec);
  }
  work_dir_ = std::move(fresh);
  return true;
}

OpenJTalkEngine::Spare OpenJTalkEngine::StartSpare() {
  Spare spare;
  if (!EnsureWorkDir()) return spare;
  // Open JTalk creates its output file as it starts, so every process gets a file of its own.
  spare.output = work_dir_ + "/speech-" + std::to_string(next_output_++) + ".wav";
  spare.process = std::make_shared<ChildProcess>();
  if (!spare.process->Start(
          {setup_.command, "-x", setup_.dictionary, "-m", setup_.voice, "-ow", spare.output},
          &spare.input)) {
    spare.process.reset();
  }
  return spare;
}

void OpenJTalkEngine::Discard(Spare& spare) {
  if (!spare.process) return;
  spare.process->Kill();
  ::close(spare.input);
  spare.process->Wait();
  spare.process.reset();
  std::remove(spare.output.c_str());
}

OpenJTalkEngine::Outcome OpenJTalkEngine::Synthesize(const std::string& line,
                                                     std::optional<PcmClip>* clip) {
  clip->reset();
  // A cleaned /tmp took the waiting process's output file with it: start afresh.
  if (spare_.process && !IsOwnFolder(work_dir_)) Discard(spare_);
  if (!spare_.process) spare_ = StartSpare();
  if (!spare_.process) return IsOwnFolder(work_dir_) ? Outcome::kFailed : Outcome::kNoWorkFolder;
  {
    // Handed over under the lock, so a Stop from now on reaches this process.
    const std::lock_guard lock(mutex_);
    if (stopped_) return Outcome::kStopped;  // the spare stays unused and warm
    running_ = spare_.process;
    deadline_ = std::chrono::steady_clock::now() + limit_;
    timed_out_ = false;
  }
  cv_.notify_all();
  Spare mine = std::exchange(spare_, Spare{});
  const bool sent = SendLine(mine.input, line);
  const bool ok = mine.process->Wait() && sent;
  Outcome outcome = Outcome::kDone;
  {
    const std::lock_guard lock(mutex_);
    running_.reset();
    deadline_.reset();
    if (stopped_) outcome = Outcome::kStopped;
    if (timed_out_) outcome = Outcome::kTimedOut;
  }
  // The next one loads only now, so that it does not compete with this synthesis for the CPU.
  spare_ = StartSpare();
  if (outcome == Outcome::kDone && ok) *clip = LoadWaveFile(mine.output);
  std::remove(mine.output.c_str());
  if (outcome != Outcome::kDone) return outcome;
  if (!*clip) return Outcome::kFailed;
  // The words, not the near-silence before them, begin when the clip is placed.
  TrimLeadIn(**clip);
  return Outcome::kDone;
}

void OpenJTalkEngine::Watch() {
  std::unique_lock lock(mutex_);
  while (!quit_) {
    if (!deadline_) {
      cv_.wait(lock);
      continue;
    }
    const auto deadline = *deadline_;
    if (cv_.wait_until(lock, deadline) == std::cv_status::timeout && deadline_ == deadline &&
        running_) {
      // A hung or crawling engine must not hold every announcement behind it.
      timed_out_ = true;
      running_->Kill();
      deadline_.reset();
    }
  }
}

}  // namespace chimewell
