#pragma once
// A moment of the wall clock as its own type, so that it cannot be swapped with an elapsed time,
// a tick count, or a count of milliseconds where microseconds are meant. Elapsed time is a
// std::chrono duration (or a steady_clock time point); the two meet only through the
// operators below, and a plain number becomes a moment only through a named constructor.
#include <chrono>
#include <compare>
#include <cstdint>

namespace chimewell {

// A moment of the wall clock (UTC), to the microsecond: where an announcement is due. It moves
// when the clock is set, so it is never used to measure how long something took.
class WallMoment {
 public:
  constexpr WallMoment() = default;
  static constexpr WallMoment FromUnixMs(int64_t ms) { return WallMoment(ms * 1000); }
  static constexpr WallMoment FromUnixUs(int64_t us) { return WallMoment(us); }

  // Milliseconds since 1970, rounded down (towards the past, also before 1970).
  constexpr int64_t UnixMs() const { return us_ >= 0 ? us_ / 1000 : -((-us_ + 999) / 1000); }
  constexpr int64_t UnixUs() const { return us_; }

  friend constexpr auto operator<=>(WallMoment, WallMoment) = default;
  friend constexpr WallMoment operator+(WallMoment m, std::chrono::microseconds d) {
    return WallMoment(m.us_ + d.count());
  }
  friend constexpr WallMoment operator-(WallMoment m, std::chrono::microseconds d) {
    return WallMoment(m.us_ - d.count());
  }
  // How far apart two moments lie on the wall clock (negative when `a` is the earlier).
  friend constexpr std::chrono::microseconds operator-(WallMoment a, WallMoment b) {
    return std::chrono::microseconds(a.us_ - b.us_);
  }

 private:
  explicit constexpr WallMoment(int64_t us) : us_(us) {}
  int64_t us_ = 0;
};

// A reading of the elapsed-time clock: it never jumps and stands still while the machine
// sleeps. Only differences of two readings mean anything, so it has no tie to the wall clock.
struct ElapsedClock {
  using rep = int64_t;
  using period = std::milli;
  using duration = std::chrono::milliseconds;
  using time_point = std::chrono::time_point<ElapsedClock, duration>;
  static constexpr bool is_steady = true;
};
using ElapsedMoment = ElapsedClock::time_point;

}  // namespace chimewell
