#pragma once
// Records what a busy-desktop watcher tells, for tests that wait on real events.
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <vector>

#include "platform/desktop_busy_watcher.h"

namespace chimewell::testing {

class BusyLog {
 public:
  // Starts `watcher` with this log as its listener.
  void Listen(DesktopBusyWatcher& watcher) {
    watcher.Start(
        [this](DesktopBusyState state) {
          const std::lock_guard lock(mutex_);
          states_.push_back(state);
          changed_.notify_all();
        },
        [this](BusyUnavailable reason) {
          const std::lock_guard lock(mutex_);
          unavailable_.push_back(reason);
          changed_.notify_all();
        });
  }
  // Waits until the latest state passes `wanted` (the state before any change is not busy);
  // false when `limit` passed first.
  bool WaitFor(const std::function<bool(const DesktopBusyState&)>& wanted,
               std::chrono::milliseconds limit = std::chrono::seconds(10)) {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, limit, [&] { return wanted(LatestLocked()); });
  }
  bool WaitUnavailable(std::chrono::milliseconds limit = std::chrono::seconds(10)) {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, limit, [&] { return !unavailable_.empty(); });
  }
  std::vector<DesktopBusyState> States() {
    const std::lock_guard lock(mutex_);
    return states_;
  }
  std::vector<BusyUnavailable> Unavailable() {
    const std::lock_guard lock(mutex_);
    return unavailable_;
  }

  static bool InCall(const DesktopBusyState& s) { return s.in_call; }
  static bool NoCall(const DesktopBusyState& s) { return !s.in_call; }
  static bool Quiet(const DesktopBusyState& s) { return s.do_not_disturb; }
  static bool NotQuiet(const DesktopBusyState& s) { return !s.do_not_disturb; }

 private:
  DesktopBusyState LatestLocked() const {
    return states_.empty() ? DesktopBusyState{} : states_.back();
  }

  std::mutex mutex_;
  std::condition_variable changed_;
  std::vector<DesktopBusyState> states_;
  std::vector<BusyUnavailable> unavailable_;
};

}  // namespace chimewell::testing
