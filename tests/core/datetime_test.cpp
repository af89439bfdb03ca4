#include "core/datetime.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "core/log.h"
#include "support/fake_clock.h"

namespace chimewell {
namespace {

TDateTime At(int y, int mo, int d, int h = 0, int mi = 0, int s = 0, int ms = 0) {
  return *TryEncodeDateTime({y, mo, d, h, mi, s, ms});
}

TEST(DateTime, EncodesKnownDaysSinceTheZeroDate) {
  EXPECT_EQ(*TryEncodeDate(1899, 12, 30), 0.0);
  EXPECT_EQ(*TryEncodeDate(1900, 1, 1), 2.0);
  EXPECT_EQ(*TryEncodeDate(2000, 1, 1), 36526.0);
  EXPECT_EQ(*TryEncodeDate(2026, 12, 7), 46363.0);
  EXPECT_FALSE(TryEncodeDate(2004, 2, 30));
  EXPECT_FALSE(TryEncodeDate(2023, 2, 29));
  EXPECT_TRUE(TryEncodeDate(2024, 2, 29));
  EXPECT_FALSE(TryEncodeDate(1900, 2, 29));
  EXPECT_FALSE(TryEncodeTime(24, 0, 0, 0));
  EXPECT_FALSE(TryEncodeTime(0, 60, 0, 0));
}

TEST(DateTime, DecodeRoundTripsEveryMillisecondBoundary) {
  for (const TDateTime t : {At(2026, 1, 1, 0, 0, 0, 0), At(2026, 12, 31, 23, 59, 59, 999),
                            At(2024, 2, 29, 12, 30, 15, 500), At(1999, 12, 31, 6, 59, 59, 501)}) {
    const DateTimeParts p = DecodeDateTime(t);
    EXPECT_EQ(At(p.year, p.month, p.day, p.hour, p.minute, p.second, p.millisecond), t);
  }
  // 0.4 ms short of midnight rounds into the next day rather than to 23:59:59.1000.
  const DateTimeParts p = DecodeDateTime(At(2026, 3, 1) - 0.4 / kMsPerDay);
  EXPECT_EQ(p.day, 1);
  EXPECT_EQ(p.hour, 0);
  EXPECT_EQ(p.millisecond, 0);
}

TEST(DateTime, WeekdayRunsFromSundayOneToSaturdaySeven) {
  EXPECT_EQ(DayOfWeek(0.0), 7);                     // 1899-12-30, Saturday
  EXPECT_EQ(DayOfWeek(At(2026, 12, 6, 23, 59)), 1);  // Sunday
  EXPECT_EQ(DayOfWeek(At(2026, 12, 7)), 2);         // Monday
  EXPECT_EQ(DayOfWeek(At(2026, 12, 12, 12)), 7);    // Saturday
}

TEST(DateTime, MillisecondStepsAndDistances) {
  const TDateTime noon = At(2026, 5, 5, 12);
  EXPECT_EQ(DecodeDateTime(AddMilliseconds(noon, -500)).second, 59);
  EXPECT_EQ(DecodeDateTime(AddMilliseconds(noon, -500)).millisecond, 500);
  EXPECT_EQ(DecodeDateTime(AddMilliseconds(noon, 43200000)).day, 6);
  EXPECT_EQ(MillisecondsBetween(noon, AddMilliseconds(noon, 1500)), 1500);
  EXPECT_EQ(MillisecondsBetween(AddMilliseconds(noon, 1500), noon), 1500);
  EXPECT_EQ(SecondOfDay(At(2026, 5, 5, 23, 59, 59, 999)), 86399);
}

TEST(DateTime, FormatsThePatternsOfLogAndReports) {
  const TDateTime t = At(2026, 12, 7, 7, 30, 5, 250);
  EXPECT_EQ(FormatDateTime("yyyy/mm/dd(ddd) hh:nn.ss.zzz", t), "2026/12/07(月) 07:30.05.250");
  EXPECT_EQ(FormatDateTime("hh:nn.ss.zzz", t), "07:30.05.250");
  EXPECT_EQ(FormatDateTime("yyyy/mm/dd hh:nn:ss", t), "2026/12/07 07:30:05");
}

TEST(DateTime, ParsesOnlyWellFormedMoments) {
  EXPECT_EQ(ParseDateTime("2026/12/07 07:30:05"), At(2026, 12, 7, 7, 30, 5));
  EXPECT_EQ(ParseDateTime("2026/12/07 07:30:05.250"), At(2026, 12, 7, 7, 30, 5, 250));
  EXPECT_FALSE(ParseDateTime("2004/02/30 12:00:00"));
  EXPECT_FALSE(ParseDateTime("2026/12/07 24:00:00"));
  EXPECT_FALSE(ParseDateTime("2026/12/07 07:30"));
  EXPECT_FALSE(ParseDateTime("2026/12/07 07:30:05x"));
  EXPECT_FALSE(ParseDateTime(""));
}

TEST(DateTime, LocalTimeFollowsTheZoneIncludingDaylightSaving) {
  const char* old = std::getenv("TZ");
  const std::string saved = old ? old : "";
  setenv("TZ", "Europe/Berlin", 1);
  tzset();
  // 2026-03-29 01:30 UTC is 03:30 summer time in Berlin (clocks went 02:00 -> 03:00).
  const int64_t unix_ms = 1774747800000LL;
  const TDateTime local = FromUnixMilliseconds(unix_ms);
  EXPECT_EQ(FormatDateTime("yyyy/mm/dd hh:nn:ss", local), "2026/03/29 03:30:00");
  EXPECT_EQ(ToUnixMilliseconds(local), unix_ms);
  setenv("TZ", "Asia/Tokyo", 1);
  tzset();
  EXPECT_EQ(FormatDateTime("hh:nn", FromUnixMilliseconds(unix_ms)), "10:30");
  if (old) setenv("TZ", saved.c_str(), 1); else unsetenv("TZ");
  tzset();
}

TEST(Log, StampsLinesAndKeepsOnlyTheNewest) {
  testing::FakeClock clock(At(2026, 12, 7, 7, 30, 5, 250));
  Log log(clock, 3);
  log.AddLogLine("first");
  log.AddRawLine("raw");
  log.AddLogLine("b");
  log.AddLogLine("c");
  const auto lines = log.Lines();
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0], "raw");
  EXPECT_EQ(lines[2], "07:30.05.250 c");
}

TEST(Log, KeepsNoMoreBytesThanItsBudget) {
  testing::FakeClock clock(At(2026, 12, 7, 7, 30, 5, 250));
  Log log(clock, 100, 10);
  log.AddRawLine("aaaa");
  log.AddRawLine("bbbb");
  log.AddRawLine("cccc");  // 12 bytes: the oldest goes
  EXPECT_EQ(log.Lines(), (std::vector<std::string>{"bbbb", "cccc"}));
  // A line larger than the whole budget is cut to fit, on a character boundary.
  log.AddRawLine("ab日本語");  // 11 bytes
  EXPECT_EQ(log.Lines(), (std::vector<std::string>{"ab日…"}));
  Log defaults(clock);
  for (int i = 0; i < 300; ++i) defaults.AddRawLine(std::string(10000, 'x'));
  size_t bytes = 0;
  for (const auto& line : defaults.Lines()) bytes += line.size();
  EXPECT_LE(bytes, Log::kMaxBytes);
  EXPECT_GT(bytes, Log::kMaxBytes - 10000);
}

TEST(Log, ShortenForLogCountsCharactersNotBytes) {
  struct Case {
    std::string text;
    size_t max;
    std::string expected;
  };
  for (const Case& c : {Case{"abc", 3, "abc"}, Case{"abcd", 3, "abc…"}, Case{"", 0, ""},
                        Case{"日本語です", 3, "日本語…"}, Case{"日本語", 3, "日本語"}}) {
    EXPECT_EQ(ShortenForLog(c.text, c.max), c.expected) << c.text;
  }
}

}  // namespace
}  // namespace chimewell
