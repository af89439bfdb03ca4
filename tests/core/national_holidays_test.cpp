// The national holidays against the Cabinet Office's published list of national holidays and
// days off (内閣府「国民の祝日・休日」, syukujitsu.csv, 1955 to 2027), which names every 振替休日
// and 国民の休日 just 休日; for 1948 to 1954 against the law's text as first enacted.
#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "core/equinox_days.h"
#include "core/holiday_calendar.h"

namespace chimewell {
namespace {

struct Day {
  int year, month, day;
  const char* name;  // "" for no holiday
};

void ExpectNames(const std::vector<Day>& days) {
  for (const Day& d : days) {
    EXPECT_EQ(NationalHolidayName(d.year, d.month, d.day), d.name)
        << d.year << "/" << d.month << "/" << d.day;
  }
}

// Each day on both sides of each change of the law: the law in force from 1948-07-20;
// 成人の日 and 体育の日 on Mondays from 2000, 海の日 and 敬老の日 from 2003; 建国記念の日 from
// 1967, 敬老の日 and 体育の日 from 1966, 海の日 from 1996, 山の日 from 2016; 4/29 renamed twice;
// 天皇誕生日 moved twice; スポーツの日 from 2020; the end of the computed years.
TEST(NationalHolidays, EachDayOfTheLawOnBothSidesOfItsChanges) {
  // clang-format off
  ExpectNames({
      {1948, 5, 3, ""}, {1948, 9, 23, "秋分の日"}, {1949, 1, 1, "元日"},
      {1999, 1, 15, "成人の日"}, {2000, 1, 15, ""}, {2000, 1, 10, "成人の日"},
      {1999, 10, 10, "体育の日"}, {2000, 10, 10, ""}, {2000, 10, 9, "体育の日"},
      {2002, 7, 20, "海の日"}, {2003, 7, 20, ""}, {2003, 7, 21, "海の日"},
      {2003, 9, 15, "敬老の日"}, {2004, 9, 15, ""}, {2004, 9, 20, "敬老の日"},
      {1966, 2, 11, ""}, {1967, 2, 11, "建国記念の日"}, {1965, 9, 15, ""},
      {1966, 9, 15, "敬老の日"}, {1966, 10, 10, "体育の日"}, {1995, 7, 20, ""},
      {1996, 7, 20, "海の日"}, {2015, 8, 11, ""}, {2016, 8, 11, "山の日"},
      {1988, 4, 29, "天皇誕生日"}, {1989, 4, 29, "みどりの日"}, {2006, 4, 29, "みどりの日"},
      {2007, 4, 29, "昭和の日"}, {2006, 5, 4, "国民の休日"}, {2007, 5, 4, "みどりの日"},
      {1988, 12, 23, ""}, {1989, 12, 23, "天皇誕生日"}, {2018, 12, 23, "天皇誕生日"},
      {2019, 12, 23, ""}, {2019, 2, 23, ""}, {2020, 2, 23, "天皇誕生日"},
      {2019, 10, 14, "体育の日"}, {2022, 10, 10, "スポーツの日"}, {2099, 11, 3, "文化の日"},
      {2100, 1, 1, ""}});
  // clang-format on
}

TEST(NationalHolidays, TheOlympicYearsMovedThreeDays) {
  // clang-format off
  ExpectNames({
      {2020, 7, 20, ""}, {2020, 7, 23, "海の日"}, {2020, 7, 24, "スポーツの日"},
      {2020, 8, 10, "山の日"}, {2020, 8, 11, ""}, {2020, 10, 12, ""},
      {2021, 7, 19, ""}, {2021, 7, 22, "海の日"}, {2021, 7, 23, "スポーツの日"},
      {2021, 8, 8, "山の日"}, {2021, 8, 9, "振替休日"}, {2021, 10, 11, ""},
      {2022, 7, 18, "海の日"}, {2022, 8, 11, "山の日"}});
  // clang-format on
}

TEST(NationalHolidays, DaysSetByTheirOwnLaws) {
  // clang-format off
  ExpectNames({
      {1959, 4, 10, "皇太子明仁親王の結婚の儀"}, {1989, 2, 24, "昭和天皇の大喪の礼"}, {1990, 11, 12, "即位礼正殿の儀"},
      {1993, 6, 9, "皇太子徳仁親王の結婚の儀"}, {2019, 5, 1, "天皇の即位の日"}, {2019, 10, 22, "即位礼正殿の儀"},
      {1960, 4, 10, ""}, {2020, 5, 1, ""}});
  // clang-format on
}

// None before 1973-04-12 (1973-02-11 was a Sunday); the Monday after a Sunday holiday until
// 2006, where a Sunday 5/4 between two holidays stayed a Sunday; from 2007 the first day after
// it that is no holiday (2008: みどりの日 on Sunday, 2009: 憲法記念日 on Sunday).
TEST(NationalHolidays, SubstituteHolidays) {
  // clang-format off
  ExpectNames({
      {1973, 2, 12, ""}, {1973, 4, 30, "振替休日"}, {1978, 1, 2, "振替休日"},
      {1987, 5, 4, "振替休日"}, {1991, 5, 6, "振替休日"}, {1986, 5, 4, ""},
      {1997, 5, 4, ""}, {2006, 1, 2, "振替休日"}, {2007, 2, 12, "振替休日"},
      {2008, 5, 6, "振替休日"}, {2009, 5, 6, "振替休日"}, {2019, 5, 6, "振替休日"},
      {2024, 9, 23, "振替休日"}, {2027, 3, 22, "振替休日"}});
  // clang-format on
}

// From 1985-12-27 (first in 1988); a substitute wins over the day between (1992-05-04);
// 敬老の日 and 秋分の日 two days apart; the days around the enthronement day, which counts as a
// holiday for this rule.
TEST(NationalHolidays, DaysBetweenTwoHolidays) {
  // clang-format off
  ExpectNames({
      {1985, 5, 4, ""}, {1988, 5, 4, "国民の休日"}, {1992, 5, 4, "振替休日"},
      {2009, 9, 22, "国民の休日"}, {2015, 9, 22, "国民の休日"}, {2026, 9, 22, "国民の休日"},
      {2019, 4, 30, "国民の休日"}, {2019, 5, 2, "国民の休日"}, {2020, 9, 23, ""}});
  // clang-format on
}

TEST(NationalHolidays, DatesThatDoNotExistAreNoHolidays) {
  // clang-format off
  ExpectNames({
      {2023, 2, 29, ""}, {2023, 2, 30, ""}, {2024, 13, 1, ""},
      {2024, 0, 1, ""}, {2024, 1, 0, ""}, {2024, 1, 32, ""},
      {-5, 1, 1, ""}});
  // clang-format on
}

// The equinox days announced for 1955 to 2027 (the National Astronomical Observatory's 暦要項
// in the official gazette each February, as the Cabinet Office's list repeats them), two digits
// a year.
// clang-format off
constexpr char kVernalDays[] =
    "2121212121" "20212121202121212021" "21212021212120212121" "20212121202121212021"
    "21212020212120202121" "20202121202021212020" "21212020212120202121" "2020212120202021";
constexpr char kAutumnalDays[] =
    "2423232324" "23232324232323242323" "23242323232423232324" "23232323232323232323"
    "23232323232323232323" "23232323232323232323" "23232223232322232323" "2223232322232323";
// clang-format on

TEST(NationalHolidays, EquinoxesOnTheAnnouncedDays) {
  for (int year = 1955; year <= 2027; ++year) {
    const size_t at = static_cast<size_t>(year - 1955) * 2;
    const int vernal = std::stoi(std::string(kVernalDays + at, 2));
    const int autumnal = std::stoi(std::string(kAutumnalDays + at, 2));
    EXPECT_EQ(VernalEquinoxDay(year), vernal) << year;
    EXPECT_EQ(AutumnalEquinoxDay(year), autumnal) << year;
    EXPECT_EQ(NationalHolidayName(year, 3, vernal), "春分の日") << year;
    EXPECT_EQ(NationalHolidayName(year, 9, autumnal), "秋分の日") << year;
  }
  // Later years by the formula alone.
  EXPECT_EQ(VernalEquinoxDay(2092), 19);
  EXPECT_EQ(AutumnalEquinoxDay(2050), 23);
  EXPECT_EQ(VernalEquinoxDay(2100), 0);
}

// A whole year of the list, in order, the list's 休日 with our names.
TEST(NationalHolidays, TheEnthronementYearAsPublished) {
  std::string text;
  for (const auto& h : HolidayCalendar().HolidaysBetween(*TryEncodeDate(2019, 1, 1),
                                                         *TryEncodeDate(2019, 12, 31))) {
    text += FormatDateTime("m/d ", h.day) + h.name + "\n";
  }
  EXPECT_EQ(text,
            "1/1 元日\n1/14 成人の日\n2/11 建国記念の日\n3/21 春分の日\n4/29 昭和の日\n"
            "4/30 国民の休日\n5/1 天皇の即位の日\n5/2 国民の休日\n5/3 憲法記念日\n"
            "5/4 みどりの日\n5/5 こどもの日\n5/6 振替休日\n7/15 海の日\n8/11 山の日\n"
            "8/12 振替休日\n9/16 敬老の日\n9/23 秋分の日\n10/14 体育の日\n"
            "10/22 即位礼正殿の儀\n11/3 文化の日\n11/4 振替休日\n11/23 勤労感謝の日\n");
}

TEST(NationalHolidays, TheSameAnswersFromManyThreadsAtOnce) {
  std::vector<int> counts(4, 0);
  std::vector<std::thread> threads;
  for (int& count : counts) {
    threads.emplace_back([&count] {
      for (int year = 1948; year <= 2099; ++year) {
        for (int day = 1; day <= 372; ++day) {
          count += !NationalHolidayName(year, (day - 1) / 31 + 1, (day - 1) % 31 + 1).empty();
        }
      }
    });
  }
  for (std::thread& t : threads) t.join();
  EXPECT_EQ(counts, std::vector<int>(4, counts[0]));
}

}  // namespace
}  // namespace chimewell
