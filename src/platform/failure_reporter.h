#pragma once
// Tells a lasting failure when it first shows and again while it persists, at most once an
// hour, so the user neither misses it nor gets it every second.
#include <chrono>
#include <functional>
#include <mutex>
#include <optional>
#include <string>

#include "platform/steady_time.h"

namespace chimewell {

class FailureReporter {
 public:
  using Report = std::function<void(const std::string&)>;
  static constexpr std::chrono::hours kInterval{1};

  explicit FailureReporter(Report report, SteadyTime& time = SystemSteadyTime())
      : report_(std::move(report)), time_(time) {}

  // The failure happened (again). Safe from any thread; `report` runs outside the lock.
  void Failed(const std::string& message);

 private:
  const Report report_;
  SteadyTime& time_;
  std::mutex mutex_;
  std::optional<SteadyTime::TimePoint> last_;  // guarded by mutex_
};

}  // namespace chimewell
