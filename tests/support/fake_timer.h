#pragma once
// A one-shot timer that remembers when it is due; the test fires it.
#include "platform/timer.h"

namespace chimewell::testing {

class FakeTimer final : public Timer {
 public:
  void Arm(int ms) override {
    interval_ = ms;
    enabled_ = true;
    ++arms_;
  }
  void Disable() override { enabled_ = false; }
  bool Enabled() const override { return enabled_; }
  int Interval() const { return interval_; }
  int Arms() const { return arms_; }
  void FireNow() {
    enabled_ = false;
    Fire();
  }

 private:
  int interval_ = 0;
  int arms_ = 0;
  bool enabled_ = false;
};

}  // namespace chimewell::testing
