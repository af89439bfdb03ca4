#include "platform/real_time_pacer.h"

#include <algorithm>
#include <thread>

#include "platform/audio_sink.h"

namespace chimewell {
namespace {

constexpr auto kMaxLag = std::chrono::milliseconds(200);

SteadyTime::TimePoint::duration FrameTime(size_t frames) {
  return std::chrono::duration_cast<SteadyTime::TimePoint::duration>(
      std::chrono::duration<double>(static_cast<double>(frames) / kMixRate));
}

class SystemSteady final : public SteadyTime {
 public:
  TimePoint Now() const override { return std::chrono::steady_clock::now(); }
  void SleepUntil(TimePoint when) override { std::this_thread::sleep_until(when); }
};

}  // namespace

SteadyTime& SystemSteadyTime() {
  static SystemSteady time;
  return time;
}

bool RealTimePacer::StartsAfresh(SteadyTime::TimePoint now) const {
  return frames_ == 0 || now - (start_ + FrameTime(frames_)) > kMaxLag;
}

std::chrono::microseconds RealTimePacer::Ahead() const {
  const auto now = time_.Now();
  if (StartsAfresh(now)) return {};
  return std::max(std::chrono::duration_cast<std::chrono::microseconds>(
                      start_ + FrameTime(frames_) - now),
                  std::chrono::microseconds(0));
}

void RealTimePacer::Pace(size_t frames) {
  const auto now = time_.Now();
  if (StartsAfresh(now)) {
    start_ = now;
    frames_ = 0;
  }
  frames_ += frames;
  // Return as the previous block finishes sounding, one block ahead like a device buffer.
  const auto due = start_ + FrameTime(frames_) - FrameTime(frames);
  if (due > now) time_.SleepUntil(due);
}

}  // namespace chimewell
