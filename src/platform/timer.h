#pragma once
// The main window's one-shot timer.
#include <functional>

namespace chimewell {

class Timer {
 public:
  virtual ~Timer() = default;
  // Fires `on_fire` once, `ms` milliseconds from now; re-arming replaces the pending shot.
  virtual void Arm(int ms) = 0;
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
