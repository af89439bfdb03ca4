#pragma once
// A UI thread for tests that runs steps at once on the caller's thread, or, while gated,
// holds posted steps until the test runs them.
#include <deque>
#include <functional>
#include <mutex>

#include "platform/ui_thread.h"

namespace chimewell::testing {

class GatedUiThread final : public UiThread {
 public:
  void RunSync(const std::function<void()>& step) override { step(); }
  void Post(std::function<void()> step) override {
    {
      const std::lock_guard lock(mutex_);
      if (gated_) {
        held_.push_back(std::move(step));
        return;
      }
    }
    step();
  }
  void Gate(bool on) {
    const std::lock_guard lock(mutex_);
    gated_ = on;
  }
  size_t Held() const {
    const std::lock_guard lock(mutex_);
    return held_.size();
  }
  // Runs the held steps, oldest first.
  void RunHeld() {
    std::deque<std::function<void()>> steps;
    {
      const std::lock_guard lock(mutex_);
      steps.swap(held_);
    }
    for (auto& step : steps) step();
  }

 private:
  mutable std::mutex mutex_;
  bool gated_ = false;
  std::deque<std::function<void()>> held_;
};

}  // namespace chimewell::testing
