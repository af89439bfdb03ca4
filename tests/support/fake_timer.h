#pragma once
// A one-shot timer that remembers when it is due; the test fires it.
#include <cstdint>
#include <optional>

#include "core/clock.h"
#include "platform/timer.h"

namespace chimewell::testing {

class FakeTimer final : public Timer {
 public:
  // With a clock, a wall-clock deadline also reads as the interval left from the clock's now.
  explicit FakeTimer(const Clock* clock = nullptr) : clock_(clock) {}

  void Arm(int ms) override {
    interval_ = ms;
    deadline_.reset();
    enabled_ = true;
    ++arms_;
  }
  void ArmAt(WallMoment at) override {
    deadline_ = at.UnixMs();
    enabled_ = true;
    ++arms_;
  }
  void Disable() override { enabled_ = false; }
  bool Enabled() const override { return enabled_; }
  // Milliseconds until the shot: as armed, or from the clock to the deadline (0 when passed).
  int Interval() const {
    if (!deadline_ || clock_ == nullptr) return interval_;
    const int64_t left = *deadline_ - clock_->UnixMs();
    return left > 0 ? static_cast<int>(left) : 0;
  }
  std::optional<int64_t> Deadline() const { return deadline_; }
  int Arms() const { return arms_; }
  void FireNow() {
    enabled_ = false;
    Fire();
  }

 private:
  const Clock* clock_;
  int interval_ = 0;
  std::optional<int64_t> deadline_;
  int arms_ = 0;
  bool enabled_ = false;
};

}  // namespace chimewell::testing
