#pragma once
// The main window's one-shot timer: after an elapsed time, or at a wall-clock moment.
#include <cstdint>
#include <functional>

#include "core/moments.h"

namespace chimewell {

class Timer {
 public:
  virtual ~Timer() = default;
  // Fires `on_fire` once, `ms` milliseconds of elapsed time from now; re-arming replaces the
  // pending shot.
  virtual void Arm(int ms) = 0;
  // Fires `on_fire` once when the wall clock reaches `at`: at once when it already has, and
  // also at once when the wall clock is set while armed, so that a step or a resume from
  // suspend is noticed without delay. Replaces the pending shot.
  virtual void ArmAt(WallMoment at) = 0;
  virtual void Disable() = 0;
  virtual bool Enabled() const = 0;
  void SetHandler(std::function<void()> on_fire) { on_fire_ = std::move(on_fire); }

 protected:
  void Fire() {
    if (on_fire_) on_fire_();
  }

 private:
  std::function<void()> on_fire_;
};

}  // namespace chimewell
