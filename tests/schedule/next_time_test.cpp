#include "schedule/next_time.h"

#include <gtest/gtest.h>

namespace chimewell {
namespace {

// 2026-12-05 is a Saturday, 12-06 a Sunday, 12-07 a Monday.
TDateTime At(int day, int h, int mi, int s = 0, int ms = 0) {
  return *TryEncodeDateTime({2026, 12, day, h, mi, s, ms});
}

// Without a calendar: the weekdays alone decide.
TDateTime Next(const TSchedule& e, TDateTime now, int recompute_flag) {
  return NextFiringTime(e, now, recompute_flag, HolidayCalendar());
}

std::string Show(TDateTime t) { return t == 0 ? "none" : FormatDateTime("dd hh:nn:ss.zzz", t); }

TSchedule Entry(TIntervalMode mode, int seconds, int from = 0, int to = 86400,
                uint8_t weekdays = kEveryWeekday) {
  TSchedule e;
  e.Mode = mode;
  e.Seconds = seconds;
  e.FromTime = from;
  e.ToTime = to;
  e.Weekdays = weekdays;
  return e;
}

constexpr uint8_t kSun = 1 << 1, kMon = 1 << 2, kFri = 1 << 6, kSat = 1 << 7;

TEST(DaysToNextWeekday, CountsForwardAndWrapsAfterSaturday) {
  EXPECT_EQ(DaysToNextWeekday(1, kEveryWeekday), 0);
  EXPECT_EQ(DaysToNextWeekday(1, kMon), 1);
  EXPECT_EQ(DaysToNextWeekday(2, kMon), 0);
  EXPECT_EQ(DaysToNextWeekday(3, kMon), 6);
  EXPECT_EQ(DaysToNextWeekday(7, kSun), 1);
  EXPECT_EQ(DaysToNextWeekday(6, kSun | kMon), 2);
  EXPECT_EQ(DaysToNextWeekday(4, 0), 0);
  EXPECT_EQ(DaysToNextWeekday(4, 1), 0);  // bit 0 is no day
}

TEST(NextFiringTime, AtFiresTodayOnlyWhileTheTimeIsAhead) {
  const TSchedule seven = Entry(imAt, 7 * 3600);
  EXPECT_EQ(Show(Next(seven, At(5, 6, 59, 59, 500), 0)), "05 07:00:00.000");
  EXPECT_EQ(Show(Next(seven, At(5, 6, 59, 59, 999), 0)), "05 07:00:00.000");
  EXPECT_EQ(Show(Next(seven, At(5, 7, 0, 0, 0), 0)), "06 07:00:00.000");
  EXPECT_EQ(Show(Next(seven, At(5, 7, 0, 0, 1), 0)), "06 07:00:00.000");
  EXPECT_EQ(Next(seven, At(5, 6, 0), 0), At(5, 7, 0));  // exactly the encoded moment
  const TSchedule midnight = Entry(imAt, 0);
  EXPECT_EQ(Show(Next(midnight, At(5, 23, 59, 59, 999), 0)), "06 00:00:00.000");
}

TEST(NextFiringTime, AtHonoursWeekdays) {
  const TSchedule monday = Entry(imAt, 7 * 3600, 0, 86400, kMon);
  EXPECT_EQ(Show(Next(monday, At(6, 8, 0), 0)), "07 07:00:00.000");
  EXPECT_EQ(Show(Next(monday, At(7, 6, 0), 0)), "07 07:00:00.000");
  EXPECT_EQ(Show(Next(monday, At(7, 7, 0), 0)), "14 07:00:00.000");
  // The weekday is that of the firing day, not of now: Sunday 23:00 for Monday 07:00.
  EXPECT_EQ(Show(Next(monday, At(6, 23, 0), 0)), "07 07:00:00.000");
}

TEST(NextFiringTime, RegularFiresWithinTheWindowOnly) {
  const TSchedule half_past = Entry(imRegular, 1800, 9 * 3600, 17 * 3600);
  EXPECT_EQ(Show(Next(half_past, At(5, 7, 10), 0)), "05 09:00:00.000");
  EXPECT_EQ(Show(Next(half_past, At(5, 10, 7), 0)), "05 10:30:00.000");
  EXPECT_EQ(Show(Next(half_past, At(5, 10, 30), 0)), "05 11:30:00.000");
  EXPECT_EQ(Show(Next(half_past, At(5, 16, 45), 0)), "06 09:00:00.000");
  const TSchedule on_the_hour = Entry(imRegular, 0, 9 * 3600, 17 * 3600);
  EXPECT_EQ(Show(Next(on_the_hour, At(5, 16, 59, 59, 800), 0)), "05 17:00:00.000");
  EXPECT_EQ(Show(Next(on_the_hour, At(5, 17, 0), 0)), "06 09:00:00.000");
  // Crossing midnight lands on the next day's window start, on an allowed day.
  const TSchedule weekend = Entry(imRegular, 59 * 60 + 59, 3600, 86400, kSat | kSun);
  EXPECT_EQ(Show(Next(weekend, At(5, 23, 59, 59, 999), 0)), "06 01:00:00.000");
  EXPECT_EQ(Show(Next(weekend, At(6, 23, 59, 59, 999), 0)), "12 01:00:00.000");
  EXPECT_EQ(Show(Next(weekend, At(7, 12, 0), 0)), "12 01:00:00.000");
}

TEST(NextFiringTime, SkipCountsIntervalsFromTheWindowStart) {
  const TSchedule quarter = Entry(imSkip, 900, 9 * 3600, 17 * 3600);
  EXPECT_EQ(Show(Next(quarter, At(5, 10, 7), 0)), "05 10:15:00.000");
  EXPECT_EQ(Show(Next(quarter, At(5, 10, 15, 0, 0), 0)), "05 10:30:00.000");
  EXPECT_EQ(Show(Next(quarter, At(5, 10, 14, 59, 999), 0)), "05 10:15:00.000");
  EXPECT_EQ(Show(Next(quarter, At(5, 8, 0), 0)), "05 09:00:00.000");
  EXPECT_EQ(Show(Next(quarter, At(5, 9, 0), 0)), "05 09:15:00.000");
  EXPECT_EQ(Show(Next(quarter, At(5, 16, 45), 0)), "05 17:00:00.000");
  EXPECT_EQ(Show(Next(quarter, At(5, 17, 0, 30), 0)), "06 09:00:00.000");
  const TSchedule fridays = Entry(imSkip, 900, 9 * 3600, 17 * 3600, kFri);
  EXPECT_EQ(Show(Next(fridays, At(4, 17, 0, 30), 0)), "11 09:00:00.000");
  EXPECT_EQ(Show(Next(fridays, At(5, 10, 0), 0)), "11 09:00:00.000");
}

TEST(NextFiringTime, SkipReachingMidnightCountsAsPastTheWindow) {
  const TSchedule hourly = Entry(imSkip, 3600);
  EXPECT_EQ(Show(Next(hourly, At(5, 22, 59, 59, 999), 0)), "05 23:00:00.000");
  EXPECT_EQ(Show(Next(hourly, At(5, 23, 0), 0)), "06 00:00:00.000");
  EXPECT_EQ(Show(Next(hourly, At(5, 23, 59, 59, 999), 0)), "06 00:00:00.000");
  const TSchedule sundays = Entry(imSkip, 3600, 1800, 86400, kSun);
  EXPECT_EQ(Show(Next(sundays, At(6, 23, 40), 0)), "13 00:30:00.000");
}

TEST(NextFiringTime, BgmStartsAtOnceOnlyWhenRecomputingInsideTheWindow) {
  const TSchedule lunch = Entry(imBGM, 0, 12 * 3600, 13 * 3600);
  EXPECT_EQ(Show(Next(lunch, At(5, 12, 20), 1)), "05 12:00:00.000");
  EXPECT_EQ(Show(Next(lunch, At(5, 12, 20), 0)), "06 12:00:00.000");
  EXPECT_EQ(Show(Next(lunch, At(5, 11, 0), 0)), "05 12:00:00.000");
  EXPECT_EQ(Show(Next(lunch, At(5, 12, 59, 59, 999), 1)), "05 12:00:00.000");
  EXPECT_EQ(Show(Next(lunch, At(5, 13, 0), 1)), "06 12:00:00.000");  // window closed
  // Computed right at the start after firing: it does not start a second time.
  EXPECT_EQ(Show(Next(lunch, At(5, 12, 0), 0)), "06 12:00:00.000");
  EXPECT_EQ(Show(Next(lunch, At(5, 11, 59, 59, 999), 0)), "05 12:00:00.000");
  const TSchedule weekend = Entry(imBGM, 0, 12 * 3600, 13 * 3600, kSat | kSun);
  EXPECT_EQ(Show(Next(weekend, At(4, 13, 30), 0)), "05 12:00:00.000");
  EXPECT_EQ(Show(Next(weekend, At(6, 13, 30), 0)), "12 12:00:00.000");
  EXPECT_EQ(Show(Next(weekend, At(7, 12, 30), 1)), "12 12:00:00.000");
}

// The user's days off Monday 12-07 and Tuesday 12-08, and one far ahead for the look-ahead's
// bound: 2028-01-09 is day 399 counted from Sunday 2026-12-06 as day 0.
HolidayCalendar TwoDaysOff() {
  return HolidayCalendar({{2026, 12, 7, "創立記念日"}, {2026, 12, 8, "代休"}});
}

TEST(NextFiringTime, HolidayRulesMoveEveryModeToADayThatPasses) {
  using R = HolidayRule;
  const HolidayCalendar days_off = TwoDaysOff();
  const auto with = [](TSchedule e, HolidayRule rule) {
    e.Holidays = rule;
    return e;
  };
  const TSchedule at7 = Entry(imAt, 7 * 3600);
  const TSchedule skip = Entry(imSkip, 1800, 9 * 3600, 10 * 3600);
  const TSchedule hourly = Entry(imRegular, 15 * 60, 9 * 3600, 11 * 3600);
  const TSchedule lunch = Entry(imBGM, 0, 12 * 3600, 13 * 3600);
  const struct {
    const char* what;
    TSchedule entry;
    TDateTime now;
    int flag;
    const char* next;
  } cases[] = {
      {"At, skipping both days off", with(at7, R::kSkipHolidays), At(6, 8, 0), 0,
       "09 07:00:00.000"},
      {"At, skipping them on Mondays",
       with(Entry(imAt, 7 * 3600, 0, 86400, kMon), R::kSkipHolidays), At(5, 8, 0), 0,
       "14 07:00:00.000"},
      {"At, on a day off later today", with(at7, R::kOnlyHolidays), At(7, 6, 0), 0,
       "07 07:00:00.000"},
      {"At, days off on Tuesdays", with(Entry(imAt, 7 * 3600, 0, 86400, 1 << 3), R::kOnlyHolidays),
       At(5, 8, 0), 0, "08 07:00:00.000"},
      {"At, after the user's days off: New Year's Day", with(at7, R::kOnlyHolidays), At(8, 8, 0),
       0, "01 07:00:00.000"},
      {"Skip, inside Sunday's window", with(skip, R::kSkipHolidays), At(6, 9, 40), 0,
       "06 10:00:00.000"},
      {"Skip, past Sunday's window", with(skip, R::kSkipHolidays), At(6, 10, 10), 0,
       "09 09:00:00.000"},
      {"Skip, Sunday for days off", with(skip, R::kOnlyHolidays), At(6, 9, 40), 0,
       "07 09:00:00.000"},
      {"Skip, inside a day off", with(skip, R::kOnlyHolidays), At(7, 9, 10), 0, "07 09:30:00.000"},
      {"ALL, past Sunday's window", with(hourly, R::kSkipHolidays), At(6, 10, 50), 0,
       "09 09:00:00.000"},
      {"ALL, Sunday for days off", with(hourly, R::kOnlyHolidays), At(6, 8, 0), 0,
       "07 09:00:00.000"},
      {"ALL, inside a day off", with(hourly, R::kOnlyHolidays), At(7, 9, 20), 0, "07 10:15:00.000"},
      {"BGM, open on a day off it skips", with(lunch, R::kSkipHolidays), At(7, 12, 30), 1,
       "09 12:00:00.000"},
      {"BGM, open on Sunday", with(lunch, R::kSkipHolidays), At(6, 12, 30), 1, "06 12:00:00.000"},
      {"BGM, open on a day off", with(lunch, R::kOnlyHolidays), At(7, 12, 30), 1,
       "07 12:00:00.000"},
      {"BGM, just started on a day off", with(lunch, R::kOnlyHolidays), At(7, 12, 0), 0,
       "08 12:00:00.000"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Show(NextFiringTime(c.entry, c.now, c.flag, days_off)), c.next) << c.what;
    // With the national holidays alone (none falls in these December days) the rule to skip
    // them changes nothing, and the holidays-only entries wait for one in the new year (New
    // Year's Day; on Tuesdays, the Emperor's Birthday 2027-02-23).
    const TSchedule plain = with(c.entry, R::kAny);
    const TDateTime national = NextFiringTime(c.entry, c.now, c.flag, HolidayCalendar());
    if (c.entry.Holidays == R::kSkipHolidays) {
      EXPECT_EQ(national, Next(plain, c.now, c.flag)) << c.what;
    } else {
      EXPECT_EQ(FormatDateTime("yyyy/mm/dd", national),
                c.entry.Weekdays == kEveryWeekday ? "2027/01/01" : "2027/02/23")
          << c.what;
    }
  }
}

// Every day from Sunday 2026-12-06 (day 0) off, `days` of them.
HolidayCalendar DaysOffFromSunday(int days) {
  std::vector<UserHoliday> off;
  for (TDateTime day = At(6, 0, 0); off.size() < static_cast<size_t>(days); day += 1) {
    const DateTimeParts p = DecodeDateTime(day);
    off.push_back({p.year, p.month, p.day, "長期休業"});
  }
  return HolidayCalendar(std::move(off));
}

TEST(NextFiringTime, LooksForADayThatPassesAtMostFourHundredDaysAhead) {
  TSchedule at7 = Entry(imAt, 7 * 3600);
  at7.Holidays = HolidayRule::kSkipHolidays;
  // Days 0..398 off: day 399 (Sunday 2028-01-09) is the first working day; with day 399 off as
  // well the next (Monday 2028-01-10, a national holiday) lies past the bound in any case.
  EXPECT_EQ(FormatDateTime("yyyy/mm/dd hh:nn",
                           NextFiringTime(at7, At(5, 8, 0), 0, DaysOffFromSunday(399))),
            "2028/01/09 07:00");
  EXPECT_EQ(NextFiringTime(at7, At(5, 8, 0), 0, DaysOffFromSunday(400)), 0.0);
  // Holidays only: New Year's Day comes before the user's yearly day off.
  at7.Holidays = HolidayRule::kOnlyHolidays;
  const HolidayCalendar yearly({{std::nullopt, 12, 4, "毎年の休み"}});
  EXPECT_EQ(FormatDateTime("yyyy/mm/dd hh:nn", NextFiringTime(at7, At(5, 8, 0), 0, yearly)),
            "2027/01/01 07:00");
}

TEST(NextFiringTime, EntriesTheParserWouldRejectHaveNoNextTime) {
  EXPECT_EQ(Next(Entry(imSkip, 0), At(5, 8, 0), 0), 0.0);
  EXPECT_EQ(Next(Entry(imAt, 86400), At(5, 8, 0), 0), 0.0);
  EXPECT_EQ(Next(Entry(imAt, 3600, 0, 86400, 0), At(5, 8, 0), 0), 0.0);
  EXPECT_EQ(Next(Entry(imRegular, 3600), At(5, 8, 0), 0), 0.0);
  EXPECT_EQ(Next(Entry(imBGM, 0, 5000, 4000), At(5, 8, 0), 0), 0.0);
  TSchedule odd = Entry(imAt, 3600);
  odd.Mode = static_cast<TIntervalMode>(9);
  EXPECT_EQ(Next(odd, At(5, 8, 0), 0), 0.0);
}

TEST(NextTimeLogLine, ShowsEveryFieldInItsPlace) {
  TSchedule e = Entry(imBGM, 0, 12 * 3600 + 5);
  e.Msg = "m";
  e.Cmd = ctMidi;
  e.Volume = 80;
  EXPECT_EQ(NextTimeLogLine(3, e, At(5, 12, 0, 5)),
            "MakeNextTime (3) [2026/12/05(土) 12:00.05] ctMidi imBGM cnt=1 evy=1234567 vol=80 "
            "cfm=0 (00:00.00 12:00.05-24:00.00) msg=m");
  e.Cmd = static_cast<TCommandType>(7);
  e.Mode = static_cast<TIntervalMode>(7);
  EXPECT_NE(NextTimeLogLine(3, e, At(5, 12, 0)).find("] ? ? cnt="), std::string::npos);
}

}  // namespace
}  // namespace chimewell
