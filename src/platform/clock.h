#pragma once
// The injected clock: wall time, the millisecond tick count, and timed waits on it.
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>

#include "core/datetime.h"

namespace chimewell {

class Clock {
 public:
  virtual ~Clock() = default;
  // Local wall time now.
  virtual TDateTime Now() const = 0;
  // Milliseconds since some start, wrapping at 2^32 like the system tick count.
  virtual uint32_t TickCount() const = 0;
  // Waits on `cv` (with `lock` held) until `done()` holds or `ms` milliseconds of this clock
  // have passed. Returns done(). Workers use this for every sleep so that tests run them in
  // virtual time and a stop request wakes them at once.
  virtual bool WaitFor(std::unique_lock<std::mutex>& lock, std::condition_variable& cv,
                       int64_t ms, const std::function<bool()>& done) = 0;
};

// The system's clock.
class SystemClock final : public Clock {
 public:
  TDateTime Now() const override;
  uint32_t TickCount() const override;
  bool WaitFor(std::unique_lock<std::mutex>& lock, std::condition_variable& cv, int64_t ms,
               const std::function<bool()>& done) override;
};

}  // namespace chimewell
