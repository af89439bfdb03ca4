#pragma once
// The main tick's timer in virtual time: remembers its shot; the simulation fires it.
#include <cstdint>
#include <optional>

#include "platform/timer.h"
#include "simulate/virtual_clock.h"

namespace chimewell {

// Owned by the simulation's one thread.
class VirtualTimer final : public Timer {
 public:
  explicit VirtualTimer(const VirtualClock& clock) : clock_(clock) {}

  void Arm(int ms) override {
    elapsed_deadline_ = clock_.ElapsedNow() + std::chrono::milliseconds(ms > 0 ? ms : 0);
    wall_deadline_.reset();
  }
  void ArmAt(WallMoment at) override {
    wall_deadline_ = at;
    elapsed_deadline_.reset();
  }
  void Disable() override {
    elapsed_deadline_.reset();
    wall_deadline_.reset();
  }
  bool Enabled() const override { return elapsed_deadline_ || wall_deadline_; }

  // The wall-clock moment the shot is due, as the clocks stand now (it may have passed).
  std::optional<WallMoment> DueWall() const {
    if (wall_deadline_) return *wall_deadline_;
    if (elapsed_deadline_) return clock_.WallNow() + (*elapsed_deadline_ - clock_.ElapsedNow());
    return std::nullopt;
  }
  // The wall clock was set: a wall-clock shot goes off at once, as the kernel cancels it.
  void ClockWasSet() {
    if (wall_deadline_) wall_deadline_ = clock_.WallNow();
  }
  void FireNow() {
    Disable();
    Fire();
  }

 private:
  const VirtualClock& clock_;
  std::optional<ElapsedMoment> elapsed_deadline_;
  std::optional<WallMoment> wall_deadline_;
};

}  // namespace chimewell
