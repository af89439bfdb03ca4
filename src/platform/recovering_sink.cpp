#include "platform/recovering_sink.h"

#include <algorithm>
#include <mutex>
#include <thread>
#include <utility>

#include "core/fault.h"
#include "platform/platform_texts.h"

namespace chimewell {
namespace {

void LaunchThread(std::function<void()> attempt) { std::thread(std::move(attempt)).detach(); }

}  // namespace

// Shared by the sink and the thread of one reopening, which touches nothing else of the sink:
// a sink that goes while the device is still being opened just lets the attempt finish alone.
struct RecoveringSink::Attempt {
  std::mutex mutex;
  bool done = false;                  // guarded by mutex
  std::unique_ptr<AudioSink> device;  // guarded by mutex; null when the open failed
};

RecoveringSink::RecoveringSink(Opener open, std::string name, Report report, SteadyTime& time,
                               Launcher launch)
    : open_(std::move(open)),
      name_(std::move(name)),
      report_(std::move(report)),
      time_(time),
      launch_(launch ? std::move(launch) : Launcher(&LaunchThread)),
      pacer_(time) {
  // At start-up the device is tried in place: the first sound should find it open.
  std::string reason;
  Adopt(open_ ? open_(&reason) : nullptr);
}

RecoveringSink::~RecoveringSink() { Close(); }

bool RecoveringSink::Write(const int16_t* samples, size_t frames) {
  resting_ = false;
  if (!device_) Reopen();
  if (device_) {
    if (device_->Write(samples, frames)) {
      Worked();
      return true;
    }
    device_.reset();
    Failed(/*after_open=*/true);
    pacer_.Restart();
  }
  // Nothing takes the sound: drop it at the pace it would have played.
  pacer_.Pace(frames);
  return true;
}

void RecoveringSink::Rest() {
  resting_ = true;
  if (device_) device_->Rest();
}

std::optional<std::chrono::milliseconds> RecoveringSink::Tend() {
  if (device_ && !device_->Working()) {
    device_.reset();
    Failed(/*after_open=*/true);
  }
  if (!device_) Reopen();
  if (device_) {
    Worked();
    return kWatchPause;
  }
  if (attempt_) return kAttemptPoll;
  return std::max(std::chrono::duration_cast<std::chrono::milliseconds>(retry_at_ - time_.Now()),
                  std::chrono::milliseconds(0));
}

void RecoveringSink::Reopen() {
  TakeAttempt();
  if (!device_ && !attempt_ && time_.Now() >= retry_at_) {
    StartAttempt();
    TakeAttempt();  // done already when run in place
  }
}

void RecoveringSink::Worked() {
  const auto worked_for = time_.Now() - opened_at_;
  if (told_lost_ && worked_for >= kSettled) {
    told_lost_ = false;
    if (report_) report_(platform_texts::kOutputBack);
  }
  if (in_episode_ && worked_for >= kSustained) {
    in_episode_ = false;
    flapped_ = false;
    pause_ = std::chrono::milliseconds(0);
  }
}

void RecoveringSink::Close() {
  attempt_.reset();  // a reopening under way finishes alone, and its device goes with it
  if (device_) device_->Close();
  device_.reset();
}

std::chrono::microseconds RecoveringSink::Delay() {
  return device_ ? device_->Delay() : pacer_.Ahead();
}

std::string RecoveringSink::Describe() const { return device_ ? device_->Describe() : name_; }

void RecoveringSink::StartAttempt() {
  attempt_ = std::make_shared<Attempt>();
  launch_([attempt = attempt_, open = open_] {
    std::unique_ptr<AudioSink> device;
    RunCatchingFaults(
        "sound output",
        [&] {
          std::string reason;  // the panel says the same for every cause
          if (open) device = open(&reason);
        },
        nullptr);  // a fault is a failed open, told as such
    const std::lock_guard lock(attempt->mutex);
    attempt->device = std::move(device);
    attempt->done = true;
  });
}

void RecoveringSink::TakeAttempt() {
  if (!attempt_) return;
  std::unique_ptr<AudioSink> device;
  {
    const std::lock_guard lock(attempt_->mutex);
    if (!attempt_->done) return;
    device = std::move(attempt_->device);
  }
  attempt_.reset();
  Adopt(std::move(device));
}

void RecoveringSink::Adopt(std::unique_ptr<AudioSink> device) {
  device_ = std::move(device);
  if (device_) {
    opened_at_ = time_.Now();
    if (resting_) device_->Rest();  // found while idle: it sleeps until sound comes
  } else {
    Failed(/*after_open=*/false);
  }
}

void RecoveringSink::Failed(bool after_open) {
  if (!told_lost_) {
    told_lost_ = true;
    if (report_) report_(platform_texts::kOutputLost);
  }
  // A device that goes once (a server that ends, a card unplugged) is looked for as one that
  // is absent; one reopened in this episode that fails again flaps.
  flapped_ = flapped_ || (after_open && in_episode_);
  in_episode_ = true;
  // 0.5 s after the first failure, then twice as long each time.
  const auto longest = flapped_ ? kLongestPause : kLongestAbsentPause;
  pause_ = pause_.count() == 0 ? kFirstPause : std::min(pause_ * 2, longest);
  retry_at_ = time_.Now() + pause_;
}

}  // namespace chimewell
