// Wall-clock moments: the conversions at the edges, and what must not convert at all.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <type_traits>

#include "core/moments.h"

namespace chimewell {
namespace {

// A plain number, in either unit, must not pass for a moment, nor a moment for a number or an
// elapsed time: that is what the type is for.
static_assert(!std::is_convertible_v<int64_t, WallMoment>);
static_assert(!std::is_constructible_v<WallMoment, int64_t>);
static_assert(!std::is_convertible_v<WallMoment, int64_t>);
static_assert(!std::is_convertible_v<std::chrono::milliseconds, WallMoment>);
static_assert(!std::is_convertible_v<WallMoment, std::chrono::microseconds>);

TEST(WallMomentTest, MillisecondsRoundDownAlsoBefore1970) {
  const struct {
    int64_t us;
    int64_t ms;
  } cases[] = {
      {0, 0}, {999, 0}, {1000, 1}, {1734567890123456, 1734567890123}, {-1, -1}, {-1000, -1},
      {-1001, -2},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(WallMoment::FromUnixUs(c.us).UnixMs(), c.ms) << c.us;
    EXPECT_EQ(WallMoment::FromUnixMs(c.ms).UnixUs(), c.ms * 1000) << c.ms;
  }
}

TEST(WallMomentTest, ElapsedTimeMovesAMomentAndSeparatesTwo) {
  const WallMoment due = WallMoment::FromUnixMs(1000);
  const WallMoment later = due + std::chrono::milliseconds(250);
  EXPECT_EQ(later, WallMoment::FromUnixUs(1250000));
  EXPECT_EQ(later - due, std::chrono::microseconds(250000));
  EXPECT_EQ(due - later, std::chrono::microseconds(-250000));
  EXPECT_EQ(later - std::chrono::milliseconds(250), due);
  EXPECT_LT(due, later);
}

}  // namespace
}  // namespace chimewell
