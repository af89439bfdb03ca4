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
    elapsed_deadline_ = clock_.MonotonicMs() + (ms > 0 ? ms : 0);
    wall_deadline_.reset();
  }
  void ArmAt(int64_t unix_ms) override {
    wall_deadline_ = unix_ms;
    elapsed_deadline_.reset();
  }
  void Disable() override {
    elapsed_deadline_.reset();
    wall_deadline_.reset();
  }
  bool Enabled() const override { return elapsed_deadline_ || wall_deadline_; }

  // The wall-clock moment the shot is due, as the clocks stand now (it may have passed).
  std::optional<int64_t> DueWall() const {
    if (wall_deadline_) return *wall_deadline_;
    if (elapsed_deadline_) return clock_.UnixMs() + (*elapsed_deadline_ - clock_.MonotonicMs());
    return std::nullopt;
  }
  // The wall clock was set: a wall-clock shot goes off at once, as the kernel cancels it.
  void ClockWasSet() {
    if (wall_deadline_) wall_deadline_ = clock_.UnixMs();
  }
  void FireNow() {
    Disable();
    Fire();
  }

 private:
  const VirtualClock& clock_;
  std::optional<int64_t> elapsed_deadline_;
  std::optional<int64_t> wall_deadline_;
};

}  // namespace chimewell
