#include "web/attempt_limiter.h"

#include <gtest/gtest.h>

namespace chimewell {
namespace {

using std::chrono::seconds;

TEST(AttemptLimiter, TenFailuresAMinuteThenOneMoreEverySixSeconds) {
  AttemptLimiter limiter;
  const AttemptLimiter::TimePoint t0 = std::chrono::hours(1);
  for (int i = 0; i < 10; ++i) ASSERT_TRUE(limiter.Begin("192.0.2.1", t0)) << i;
  EXPECT_FALSE(limiter.Allowed("192.0.2.1", t0));
  EXPECT_FALSE(limiter.Begin("192.0.2.1", t0));  // refused, and not counted
  EXPECT_EQ(limiter.SecondsToWait("192.0.2.1", t0), 6);
  EXPECT_TRUE(limiter.Allowed("192.0.2.2", t0));  // each address on its own
  EXPECT_FALSE(limiter.Allowed("192.0.2.1", t0 + seconds(5)));
  EXPECT_TRUE(limiter.Begin("192.0.2.1", t0 + seconds(6)));
  EXPECT_FALSE(limiter.Allowed("192.0.2.1", t0 + seconds(6)));
  // The right password costs nothing.
  limiter.Succeeded("192.0.2.1", t0 + seconds(6));
  EXPECT_TRUE(limiter.Allowed("192.0.2.1", t0 + seconds(6)));
  // A quiet minute gives back all ten, never more.
  for (int i = 0; i < 10; ++i) EXPECT_TRUE(limiter.Begin("192.0.2.1", t0 + seconds(600))) << i;
  EXPECT_FALSE(limiter.Begin("192.0.2.1", t0 + seconds(600)));
}

TEST(AttemptLimiter, AnIpv6NetworkCountsAsOneClient) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"192.0.2.1", "192.0.2.1"},
      {"2001:db8:1:2::1", "2001:db8:1:2::/64"},
      {"2001:db8:1:2:ffff:1:2:3", "2001:db8:1:2::/64"},
      {"::1", "::/64"},
  };
  for (const auto& [address, key] : cases) EXPECT_EQ(AttemptKey(address), key) << address;
}

}  // namespace
}  // namespace chimewell
