#pragma once
// Virtual time for the simulation: a wall clock and an elapsed-time clock that move only when
// told, apart from each other when the machine sleeps or the clock is set.
#include <chrono>
#include <cstdint>

#include "core/clock.h"

namespace chimewell {

// Owned by the simulation's one thread; nothing ever waits on it.
class VirtualClock final : public Clock {
 public:
  explicit VirtualClock(WallMoment start) : wall_(start.UnixMs()) {}

  int64_t UnixMs() const override { return wall_; }
  int64_t MonotonicMs() const override { return mono_; }
  uint32_t TickCount() const override { return static_cast<uint32_t>(mono_); }
  // No worker runs in the simulation, so a wait never has anything to wait for.
  bool WaitFor(std::unique_lock<std::mutex>&, std::condition_variable&, int64_t,
               const std::function<bool()>& done) override {
    return done();
  }

  // Time passes: both clocks move on.
  void Pass(std::chrono::milliseconds d) {
    wall_ += d.count();
    mono_ += d.count();
  }
  // The machine sleeps (elapsed time stands still) or the clock is set: only the wall moves.
  void MoveWall(std::chrono::milliseconds d) { wall_ += d.count(); }

 private:
  int64_t wall_;
  int64_t mono_ = 0;
};

}  // namespace chimewell
