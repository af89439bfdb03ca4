#include "platform/linux/open_jtalk_speech.h"

#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <utility>

#include "core/fault.h"
#include "core/speech_readings.h"
#include "platform/lead_in.h"
#include "platform/wave_file.h"

namespace chimewell {
namespace {

constexpr char kSynthesisFailed[] = "音声合成に失敗しました";
constexpr char kNoWorkFolder[] = "音声合成の作業フォルダを作れません。音声は話せません";

float Gain(uint32_t volume) {
  return static_cast<float>(std::min<uint32_t>(volume, 65535)) / 65535.0f;
}

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

OpenJTalkSpeech::OpenJTalkSpeech(Mixer& mixer, Report report, OpenJTalkSetup setup,
                                 SteadyTime& time)
    : mixer_(mixer), report_(report), failures_(std::move(report), time) {
  setup_ = FindOpenJTalk(std::move(setup), &missing_);
  if (missing_.empty()) {
    work_dir_ = MakeOpenJTalkWorkFolder("speech");
    if (work_dir_.empty()) missing_ = kNoWorkFolder;
  }
  if (missing_.empty()) {
    thread_ = std::thread([this] { RunCatchingFaults("speech", [this] { Run(); }, report_); });
  }
}

OpenJTalkSpeech::~OpenJTalkSpeech() {
  {
    const std::lock_guard lock(mutex_);
    quit_ = true;
    ++generation_;
    StopCurrentLocked();
  }
  cv_.notify_all();
  if (thread_.joinable()) thread_.join();
  Discard(spare_);
  if (!work_dir_.empty()) {
    std::error_code ec;
    std::filesystem::remove_all(work_dir_, ec);
  }
}

void OpenJTalkSpeech::SpeakText(const std::string& text) { QueueSpeech(text, std::nullopt); }

void OpenJTalkSpeech::SpeakTextAt(const std::string& text, int64_t start_at_ms) {
  QueueSpeech(text, start_at_ms);
}

void OpenJTalkSpeech::QueueSpeech(std::string text, std::optional<int64_t> start_at_ms) {
  if (!Available()) {
    failures_.Failed(missing_);
    return;
  }
  {
    const std::lock_guard lock(mutex_);
    ++generation_;
    StopCurrentLocked();
    pending_ = Request{std::move(text), start_at_ms};
    speaking_ = 1;  // from this moment on, synthesis included
  }
  cv_.notify_all();
}

void OpenJTalkSpeech::Prepare(const std::string& text) {
  if (!Available()) return;
  {
    const std::lock_guard lock(mutex_);
    const bool known =
        std::any_of(prepared_.begin(), prepared_.end(),
                    [&](const PreparedText& kept) { return kept.text == text; }) ||
        std::find(to_prepare_.begin(), to_prepare_.end(), text) != to_prepare_.end();
    if (known) return;
    to_prepare_.push_back(text);
    if (to_prepare_.size() > kKeptPrepared) to_prepare_.pop_front();
  }
  cv_.notify_all();
}

void OpenJTalkSpeech::DiscardPrepared() {
  const std::lock_guard lock(mutex_);
  to_prepare_.clear();
  prepared_.clear();
  ++discards_;
}

OpenJTalkSpeech::Clips OpenJTalkSpeech::TakePrepared(const std::string& text) {
  const std::lock_guard lock(mutex_);
  for (auto it = prepared_.begin(); it != prepared_.end(); ++it) {
    if (it->text == text) {
      Clips clips = std::move(it->clips);
      prepared_.erase(it);
      return clips;
    }
  }
  return {};
}

void OpenJTalkSpeech::StopSpeech() {
  const std::lock_guard lock(mutex_);
  ++generation_;
  pending_.reset();
  StopCurrentLocked();
  speaking_ = 0;
}

int16_t OpenJTalkSpeech::Speaking() const { return speaking_.load(); }

void OpenJTalkSpeech::SetVolumeLeft(uint32_t volume) {
  const std::lock_guard lock(mutex_);
  volume_left_ = volume;
  if (voice_) voice_->SetGain(Gain(volume_left_), Gain(volume_right_));
}

void OpenJTalkSpeech::SetVolumeRight(uint32_t volume) {
  const std::lock_guard lock(mutex_);
  volume_right_ = volume;
  if (voice_) voice_->SetGain(Gain(volume_left_), Gain(volume_right_));
}

void OpenJTalkSpeech::StopCurrentLocked() {
  if (synthesis_) synthesis_->Kill();
  if (voice_) voice_->Stop();
}

bool OpenJTalkSpeech::EnsureWorkDir() {
  if (IsOwnFolder(work_dir_)) return true;
  // A fresh name rather than the old one: anyone could have taken that meanwhile.
  std::string fresh = MakeOpenJTalkWorkFolder("speech");
  if (fresh.empty()) return false;
  work_dir_ = std::move(fresh);
  return true;
}

void OpenJTalkSpeech::Run() {
  // A spare that died makes writing to its pipe fail with EPIPE instead of ending the program.
  sigset_t pipe_signal;
  sigemptyset(&pipe_signal);
  sigaddset(&pipe_signal, SIGPIPE);
  pthread_sigmask(SIG_BLOCK, &pipe_signal, nullptr);
  spare_ = StartSpare();
  std::unique_lock lock(mutex_);
  while (true) {
    cv_.wait(lock, [this] { return quit_ || pending_.has_value() || !to_prepare_.empty(); });
    if (quit_) return;
    if (!pending_) {  // speech first; preparing waits for a quiet moment
      const std::string text = std::move(to_prepare_.front());
      to_prepare_.pop_front();
      lock.unlock();
      RunCatchingFaults("speech", [&] { PrepareText(text); }, report_);
      lock.lock();
      continue;
    }
    const Request request = std::move(*pending_);
    pending_.reset();
    const uint64_t generation = generation_;
    lock.unlock();
    RunCatchingFaults("speech", [&] { Speak(request, generation); }, report_);
    lock.lock();
    voice_.reset();
    // A newer request keeps "speaking" up; only the last one lets it fall.
    if (generation == generation_ && !pending_) speaking_ = 0;
  }
}

void OpenJTalkSpeech::PrepareText(const std::string& text) {
  uint64_t generation = 0;
  uint64_t discards = 0;
  {
    const std::lock_guard lock(mutex_);
    generation = generation_;
    discards = discards_;
  }
  Clips clips;
  for (const std::string& piece : SplitForOpenJTalk(ApplySpeechReadings(text))) {
    // Speech asked for meanwhile stops this synthesis: it goes first.
    auto clip = Synthesize(piece, generation);
    if (!clip) return;
    clips.push_back(std::move(clip));
  }
  const std::lock_guard lock(mutex_);
  if (discards != discards_) return;
  prepared_.push_back({text, std::move(clips)});
  if (prepared_.size() > kKeptPrepared) prepared_.pop_front();
}

void OpenJTalkSpeech::Speak(const Request& request, uint64_t generation) {
  Clips prepared = TakePrepared(request.text);
  const std::vector<std::string> pieces =
      prepared.empty() ? SplitForOpenJTalk(ApplySpeechReadings(request.text))
                       : std::vector<std::string>(prepared.size());
  bool started = false;
  for (size_t i = 0; i < pieces.size(); ++i) {
    const auto clip = prepared.empty() ? Synthesize(pieces[i], generation) : prepared[i];
    std::shared_ptr<MixerVoice> voice;
    {
      const std::lock_guard lock(mutex_);
      if (generation != generation_) break;
      if (!clip) continue;
      const float left = Gain(volume_left_);
      const float right = Gain(volume_right_);
      // The first piece goes to its moment; the others follow it.
      voice_ = i == 0 && request.start_at_ms
                   ? mixer_.PlayAt(MixChannel::kSpeech, clip, *request.start_at_ms, left, right)
                   : mixer_.Play(MixChannel::kSpeech, clip, left, right);
      voice = voice_;
    }
    if (!started && voice->WaitStarted()) {
      started = true;
      NotifyAudioStart();
    }
    voice->Wait();
  }
  if (started) NotifyAudioStop();
}

OpenJTalkSpeech::Spare OpenJTalkSpeech::StartSpare() {
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

void OpenJTalkSpeech::Discard(Spare& spare) {
  if (!spare.process) return;
  spare.process->Kill();
  ::close(spare.input);
  spare.process->Wait();
  spare.process.reset();
  std::remove(spare.output.c_str());
}

std::shared_ptr<const PcmClip> OpenJTalkSpeech::Synthesize(const std::string& piece,
                                                           uint64_t generation) {
  // A cleaned /tmp took the waiting process's output file with it: start afresh.
  if (spare_.process && !IsOwnFolder(work_dir_)) Discard(spare_);
  if (!spare_.process) spare_ = StartSpare();
  Spare mine = std::exchange(spare_, Spare{});
  if (!mine.process) {
    failures_.Failed(IsOwnFolder(work_dir_) ? kSynthesisFailed : kNoWorkFolder);
    return nullptr;
  }
  {
    // Handed over under the lock, so a StopSpeech from now on reaches this process.
    const std::lock_guard lock(mutex_);
    if (generation != generation_) {
      spare_ = std::move(mine);  // still unused and warm
      return nullptr;
    }
    synthesis_ = mine.process;
  }
  const bool sent = SendLine(mine.input, piece);
  const bool ok = mine.process->Wait() && sent;
  // The next one loads only now, so that it does not compete with this synthesis for the CPU.
  spare_ = StartSpare();
  auto clip = ok ? LoadWaveFile(mine.output) : std::nullopt;
  std::remove(mine.output.c_str());
  {
    const std::lock_guard lock(mutex_);
    synthesis_.reset();
    if (generation != generation_) return nullptr;  // stopped or replaced meanwhile
  }
  if (!clip) {
    failures_.Failed(kSynthesisFailed);
    return nullptr;
  }
  // The words, not the near-silence before them, begin when the clip is placed.
  TrimLeadIn(*clip);
  return std::make_shared<const PcmClip>(std::move(*clip));
}

}  // namespace chimewell
