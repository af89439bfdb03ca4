#pragma once
// A clock for tests: time stands still until the test moves it, and timed waits end when the
// test's moves reach their deadline (in elapsed time; wall time can be stepped apart from it).
// RunFor lets worker threads run in virtual time: it moves the clock from deadline to deadline,
// each time waiting until every worker is blocked again.
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <limits>
#include <list>
#include <mutex>
#include <thread>

#include "core/clock.h"

namespace chimewell::testing {

class FakeClock final : public Clock {
 public:
  explicit FakeClock(TDateTime start = 46000.0, uint32_t tick = 1000)
      : wall_(WallOfLocal(start, 0)), tick_(tick) {}

  int64_t UnixMs() const override { return wall_.load(); }
  int64_t MonotonicMs() const override { return mono_.load(); }
  uint32_t TickCount() const override { return tick_.load(); }
  // Milliseconds of local time since 1899-12-30, for exact comparisons in tests.
  int64_t NowMs() const { return std::llround(Now() * kMsPerDay); }

  // Sets the local time as time passing would (elapsed time moves on by as much when the
  // clock moves forward), without moving the tick count.
  void Set(TDateTime t) {
    const int64_t wall = WallOfLocal(t, wall_.load());
    if (wall > wall_.load()) mono_ += wall - wall_.load();
    wall_ = wall;
    WakeWaiters();
  }
  void SetTickCount(uint32_t tick) { tick_ = tick; }
  // Moves wall time, elapsed time and tick count forward together and wakes waits whose time
  // has come.
  void Advance(int64_t ms) {
    wall_ += ms;
    mono_ += ms;
    tick_ += static_cast<uint32_t>(ms);
    WakeWaiters();
  }
  // The wall clock is set by `ms` (negative: back); elapsed time is untouched. A suspend looks
  // the same from the inside: the wall clock ran on while elapsed time stood still.
  void Step(int64_t ms) { wall_ += ms; }
  // How many threads wait on this clock right now.
  int Waiters() const {
    const std::lock_guard lock(registry_mutex_);
    return static_cast<int>(waiters_.size());
  }

  // Waits (in real time, at most `guard`) until `threads()` threads wait on this clock and
  // none of them is about to wake: the program has nothing left to do at this moment.
  // False when the guard ran out (a worker that spins or blocks elsewhere).
  bool Settle(const std::function<int()>& threads,
              std::chrono::milliseconds guard = std::chrono::seconds(20)) const {
    const auto give_up = std::chrono::steady_clock::now() + guard;
    while (!Quiet(threads())) {
      if (std::chrono::steady_clock::now() > give_up) return false;
      std::this_thread::sleep_for(std::chrono::microseconds(50));
    }
    return true;
  }

  // Moves the clock forward by `ms`, stopping at every deadline on the way until the threads
  // have settled. False when they did not settle (see Settle).
  bool RunFor(int64_t ms, const std::function<int()>& threads) {
    const int64_t target = mono_.load() + ms;
    for (;;) {
      if (!Settle(threads)) return false;
      const int64_t next = std::min(NextDeadline(), target);
      if (next <= mono_.load()) {
        if (next == target) return true;
        continue;
      }
      Advance(next - mono_.load());
      if (next == target) return Settle(threads);
    }
  }

  bool WaitFor(std::unique_lock<std::mutex>& lock, std::condition_variable& cv, int64_t ms,
               const std::function<bool()>& done) override {
    Waiter self{lock.mutex(), &cv, mono_.load() + std::max<int64_t>(ms, 0), &done};
    std::list<Waiter>::iterator entry;
    {
      const std::lock_guard reg(registry_mutex_);
      entry = waiters_.insert(waiters_.end(), self);
    }
    while (!done() && mono_.load() < self.deadline) cv.wait(lock);
    {
      const std::lock_guard reg(registry_mutex_);
      waiters_.erase(entry);
    }
    return done();
  }

 private:
  struct Waiter {
    std::mutex* mutex;
    std::condition_variable* cv;
    int64_t deadline;
    const std::function<bool()>* done;
  };

  int64_t NextDeadline() const {
    const std::lock_guard reg(registry_mutex_);
    int64_t next = std::numeric_limits<int64_t>::max();
    for (const auto& waiter : waiters_) next = std::min(next, waiter.deadline);
    return next;
  }

  // Every registered waiter is inside its wait with nothing to wake it now. Each waiter's
  // condition is checked under the waiter's own mutex (the one it waits with), so it is read
  // exactly as the waiter would read it. The registry stays locked meanwhile, so no waiter can
  // leave (and its mutex go away); its mutex is only tried, which keeps the lock order safe.
  bool Quiet(int threads) const {
    const std::lock_guard reg(registry_mutex_);
    if (static_cast<int>(waiters_.size()) != threads) return false;
    for (const auto& waiter : waiters_) {
      const std::unique_lock held(*waiter.mutex, std::try_to_lock);
      if (!held.owns_lock()) return false;
      if ((*waiter.done)() || mono_.load() >= waiter.deadline) return false;
    }
    return true;
  }

  // Wakes every wait whose deadline has come. Holding a waiter's mutex while notifying means a
  // waiter that has just checked the time cannot miss the wake-up; a mutex that is busy is
  // tried again, since the thread holding it may be the one that must be notified.
  void WakeWaiters() {
    for (;;) {
      bool busy = false;
      {
        const std::lock_guard reg(registry_mutex_);
        for (const auto& waiter : waiters_) {
          if (waiter.deadline > mono_.load()) continue;
          const std::unique_lock held(*waiter.mutex, std::try_to_lock);
          if (!held.owns_lock()) {
            busy = true;
            continue;
          }
          waiter.cv->notify_all();
        }
      }
      if (!busy) return;
      std::this_thread::yield();
    }
  }

  std::atomic<int64_t> wall_;
  std::atomic<int64_t> mono_{0};
  std::atomic<uint32_t> tick_;
  mutable std::mutex registry_mutex_;
  std::list<Waiter> waiters_;
};

}  // namespace chimewell::testing
