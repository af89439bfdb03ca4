#pragma once
// The injected clock: wall time, elapsed time, the millisecond tick count, and timed waits.
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>

#include "core/datetime.h"
#include "core/local_time.h"
#include "core/moments.h"

namespace chimewell {

class Clock {
 public:
  virtual ~Clock() = default;
  // Local wall time now: what the clock shows.
  TDateTime Now() const { return LocalOf(UnixMs()); }
  // Wall-clock time in milliseconds since 1970 UTC. It jumps when the clock is set.
  virtual int64_t UnixMs() const = 0;
  // The same reading as a typed moment, for comparing with due moments.
  WallMoment WallNow() const { return WallMoment::FromUnixMs(UnixMs()); }
  // Elapsed milliseconds since some start. Never jumps; stands still while the machine sleeps.
  virtual int64_t MonotonicMs() const = 0;
  // The same reading as a typed moment, for measuring what has elapsed.
  ElapsedMoment ElapsedNow() const { return ElapsedMoment(std::chrono::milliseconds(MonotonicMs())); }
  // Milliseconds since some start, wrapping at 2^32 like the system tick count.
  virtual uint32_t TickCount() const = 0;
  // Waits on `cv` (with `lock` held) until `done()` holds or `ms` milliseconds of this clock
  // have passed. Returns done(). Workers use this for every sleep so that tests run them in
  // virtual time and a stop request wakes them at once.
  virtual bool WaitFor(std::unique_lock<std::mutex>& lock, std::condition_variable& cv,
                       int64_t ms, const std::function<bool()>& done) = 0;
};

}  // namespace chimewell
