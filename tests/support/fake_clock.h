#pragma once
// A clock for tests: time stands still until the test moves it, and timed waits end when the
// test's moves reach their deadline.
#include <algorithm>
#include <atomic>
#include <cmath>
#include <condition_variable>
#include <mutex>
#include <set>
#include <utility>

#include "platform/clock.h"

namespace chimewell::testing {

class FakeClock final : public Clock {
 public:
  explicit FakeClock(TDateTime start = 46000.0, uint32_t tick = 1000) : ms_(ToMs(start)), tick_(tick) {}

  TDateTime Now() const override { return static_cast<double>(ms_.load()) / kMsPerDay; }
  uint32_t TickCount() const override { return tick_.load(); }

  // Sets the wall time without moving the tick count.
  void Set(TDateTime t) {
    ms_ = ToMs(t);
    WakeWaiters();
  }
  void SetTickCount(uint32_t tick) { tick_ = tick; }
  // Moves wall time and tick count forward together and wakes waits whose time has come.
  void Advance(int64_t ms) {
    ms_ += ms;
    tick_ += static_cast<uint32_t>(ms);
    WakeWaiters();
  }
  // How many threads wait on this clock right now.
  int Waiters() const {
    const std::lock_guard lock(registry_mutex_);
    return static_cast<int>(waiters_.size());
  }

  bool WaitFor(std::unique_lock<std::mutex>& lock, std::condition_variable& cv, int64_t ms,
               const std::function<bool()>& done) override {
    const int64_t deadline = ms_.load() + std::max<int64_t>(ms, 0);
    const Waiter self{lock.mutex(), &cv};
    {
      const std::lock_guard reg(registry_mutex_);
      waiters_.insert(self);
    }
    while (!done() && ms_.load() < deadline) cv.wait(lock);
    {
      const std::lock_guard reg(registry_mutex_);
      waiters_.erase(waiters_.find(self));
    }
    return done();
  }

 private:
  using Waiter = std::pair<std::mutex*, std::condition_variable*>;
  static int64_t ToMs(TDateTime t) { return std::llround(t * kMsPerDay); }

  void WakeWaiters() {
    std::multiset<Waiter> waiters;
    {
      const std::lock_guard reg(registry_mutex_);
      waiters = waiters_;
    }
    // Taking each waiter's mutex before notifying means a waiter that has just checked the
    // time cannot miss the wake-up.
    for (const auto& [mutex, cv] : waiters) {
      { const std::lock_guard held(*mutex); }
      cv->notify_all();
    }
  }

  std::atomic<int64_t> ms_;
  std::atomic<uint32_t> tick_;
  mutable std::mutex registry_mutex_;
  std::multiset<Waiter> waiters_;
};

}  // namespace chimewell::testing
