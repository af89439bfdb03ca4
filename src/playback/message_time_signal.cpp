// The message worker's time signal: queueing one and playing its sequence.
#include <utility>

#include "playback/message_thread.h"

namespace chimewell {

namespace {

constexpr int64_t kPauseMarkerMs = 1000;

}  // namespace

bool TMessageThread::SetTimeSignal(const VoiceImagePtr& image,
                                   const std::vector<int32_t>& fragments, int32_t repeat,
                                   std::optional<WallMoment> start_at) {
  {
    const auto lock = Locked();
    if (!Accepting(lock)) return false;
    if (!time_signal_.empty()) return true;  // never replaced or extended
  }
  host_.sound.Purge();
  auto steps = BuildTimeSignalSequence(image, fragments, repeat);
  const auto lock = Locked();
  if (!Accepting(lock)) return false;
  if (time_signal_.empty()) {
    time_signal_ = std::move(steps);
    time_signal_start_at_ = start_at;
  }
  Wake();
  return true;
}

bool TMessageThread::IsTimeSignalQueued() const {
  const auto lock = Locked();
  return !time_signal_.empty();
}

void TMessageThread::PlayTimeSignal() {
  std::optional<WallMoment> passed_over;
  {
    // Held up past LateLimit (a suspend after its hand-over, or a long item before it): it
    // would name a time long gone.
    const auto lock = Locked();
    if (TooLateLocked(time_signal_start_at_)) {
      passed_over = time_signal_start_at_;
      time_signal_.clear();
      time_signal_start_at_.reset();
      skip_ = false;
    }
  }
  if (passed_over) {
    LogPassedOver(*passed_over, "");
    return;
  }
  hand_off_.Run([this] { DuckMusic(); });
  for (size_t i = 0;; ++i) {
    HoldWhileSuspended();
    TimeSignalStep step;
    std::optional<WallMoment> start_at;
    {
      const auto lock = Locked();
      if (Terminated(lock) || i >= time_signal_.size()) break;
      // The step holds its own share of the voice image while it plays.
      step = time_signal_[i];
      start_at = std::exchange(time_signal_start_at_, std::nullopt);
    }
    PollState();
    bool muted = false;
    {
      const auto lock = Locked();
      if (skip_) {
        skip_ = false;
        break;  // the rest of the sequence is dropped
      }
      muted = mute_;
    }
    if (step.kind == TimeSignalStep::Kind::kPause) {
      Sleep(kPauseMarkerMs, [this] { return skip_; });
    } else if (muted) {
      Sleep(kMutedPollMs, [this] { return skip_; });
    } else if (step.kind == TimeSignalStep::Kind::kFragment && start_at) {
      std::optional<WallMoment> latest_start;
      {
        const auto lock = Locked();
        latest_start = LatestStartLocked(*start_at);
      }
      if (!host_.sound.PlayMemoryAt(step.image->FileAt(step.offset), *start_at, latest_start)) {
        // The machine slept between its hand-over and its moment: the rest goes with it.
        LogPassedOver(*start_at, "");
        break;
      }
    } else if (step.kind == TimeSignalStep::Kind::kFragment) {
      host_.sound.PlayMemory(step.image->FileAt(step.offset));
    } else {
      host_.sound.PlayBuiltIn();
    }
  }
  {
    const auto lock = Locked();
    time_signal_.clear();
    time_signal_start_at_.reset();
    skip_ = false;
  }
  hand_off_.Run([this] { RestoreMusic(); });
}

}  // namespace chimewell
