#pragma once
// The system's wall and elapsed clocks behind the Clock interface.
#include "core/clock.h"

namespace chimewell {

// The system's clock.
class SystemClock final : public Clock {
 public:
  int64_t UnixMs() const override;
  int64_t MonotonicMs() const override;
  uint32_t TickCount() const override;
  bool WaitFor(std::unique_lock<std::mutex>& lock, std::condition_variable& cv, int64_t ms,
               const std::function<bool()>& done) override;
};

}  // namespace chimewell
