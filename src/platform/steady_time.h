#pragma once
// Elapsed time for the sound output: what the pacers and the device retries read and sleep on.
#include <chrono>

namespace chimewell {

class SteadyTime {
 public:
  using TimePoint = std::chrono::steady_clock::time_point;
  virtual ~SteadyTime() = default;
  virtual TimePoint Now() const = 0;
  virtual void SleepUntil(TimePoint when) = 0;
};

// The machine's monotonic clock and real sleeps.
SteadyTime& SystemSteadyTime();

}  // namespace chimewell
