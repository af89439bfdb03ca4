#pragma once
// Keeps writes that nothing else slows down (no device, or a lost one) at the sample clock.
#include <cstddef>

#include "platform/steady_time.h"

namespace chimewell {

class RealTimePacer {
 public:
  explicit RealTimePacer(SteadyTime& time) : time_(time) {}
  // Sleeps so that `frames` more frames take as long as they would sound. After a long stall
  // (a loaded machine) it counts afresh instead of rushing to catch up.
  void Pace(size_t frames);
  // Forgets the past: the next Pace starts counting afresh.
  void Restart() { frames_ = 0; }
  // How long from now until the frames of the next Pace are due to sound.
  std::chrono::microseconds Ahead() const;

 private:
  // After a long stall (or before the first frames) counting starts again at the next Pace.
  bool StartsAfresh(SteadyTime::TimePoint now) const;

  SteadyTime& time_;
  SteadyTime::TimePoint start_;
  size_t frames_ = 0;
};

}  // namespace chimewell
