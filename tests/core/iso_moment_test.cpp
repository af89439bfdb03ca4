#include "core/iso_moment.h"

#include <gtest/gtest.h>

namespace chimewell {
namespace {

const WallMoment kNow = WallMoment::FromUnixMs(1'796'000'000'000);

TEST(IsoMoment, ReadsTheFormsOtherSystemsWriteAndTheSameMomentEachWay) {
  const int64_t expected = 1'796'608'830'000;  // 2026-12-07 02:00:30 UTC
  for (const char* text :
       {"2026-12-07T11:00:30+09:00", "2026-12-07T02:00:30Z", "2026-12-07t02:00:30.000z",
        "2026-12-07T11:00:30+0900", "2026-12-07T10:00:30+08", "2026-12-06T21:00:30-05:00"}) {
    const auto moment = ParseIsoMoment(text, kNow);
    ASSERT_TRUE(moment) << text;
    EXPECT_EQ(moment->UnixMs(), expected) << text;
  }
  EXPECT_EQ(ParseIsoMoment("2026-12-07T02:00:30.25Z", kNow)->UnixMs(), expected + 250);
  // What is written reads back as the same second.
  const WallMoment at = WallMoment::FromUnixMs(expected);
  EXPECT_EQ(ParseIsoMoment(FormatIsoMoment(at), kNow), at);
}

TEST(IsoMoment, RefusesImpossibleAndMalformedMoments) {
  for (const char* text :
       {"", "2026-12-07", "2026-02-30T10:00", "2026-12-07T24:00", "2026-12-07T10:60",
        "2026-12-07T10:00:61Z", "2026-12-07T10:00+24:00", "2026-12-07T10:00+09:60",
        "2026-12-07T10:00:00.Z", "2026-12-07T10:00Zjunk", "26-12-07T10:00", "2026-1-07T10:00",
        "２０２６-12-07T10:00", "2026-12-07T10:00 +09:00"}) {
    EXPECT_FALSE(ParseIsoMoment(text, kNow)) << text;
  }
}

}  // namespace
}  // namespace chimewell
