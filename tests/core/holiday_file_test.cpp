// The holiday file, line by line, and the calendar that puts the user's days before the law's.
#include "core/holiday_file.h"

#include <gtest/gtest.h>

#include <string>

namespace chimewell {
namespace {

UserHoliday Dated(int year, int month, int day, std::string name) {
  return {year, month, day, std::move(name)};
}
UserHoliday Yearly(int month, int day, std::string name) {
  return {std::nullopt, month, day, std::move(name)};
}

TEST(HolidayFile, GoodLines) {
  struct Case {
    const char* line;
    UserHoliday day;
  };
  const Case cases[] = {
      {"2026/12/28 仕事納め", Dated(2026, 12, 28, "仕事納め")},
      {"2027/1/4 仕事始め", Dated(2027, 1, 4, "仕事始め")},
      {"12/29 年末休暇", Yearly(12, 29, "年末休暇")},
      {"8/13\t夏季休暇 ", Yearly(8, 13, "夏季休暇")},
      {"　05/01　創立記念日　", Yearly(5, 1, "創立記念日")},  // full-width spaces
      {"12/30年末", Yearly(12, 30, "年末")},                  // no blank after the date
      {"2/29 うるう日", Yearly(2, 29, "うるう日")},           // every year that has one
      {"2024/02/29 うるう日", Dated(2024, 2, 29, "うるう日")},
      {"12/31", Yearly(12, 31, "休日")},  // no name: simply a day off
      {"12/31 # 大晦日", Yearly(12, 31, "休日")},
      {"1/2 お正月 # 会社の", Yearly(1, 2, "お正月")},
      {"11/11 [hour]の日", Yearly(11, 11, "[hour]の日")},
  };
  for (const Case& c : cases) {
    const HolidayFileContents contents = ParseHolidayFile(c.line);
    EXPECT_TRUE(contents.problems.empty()) << c.line;
    ASSERT_EQ(contents.days.size(), 1U) << c.line;
    EXPECT_EQ(contents.days[0], c.day) << c.line;
  }
}

TEST(HolidayFile, BadLinesAreNamedByNumberAndTheGoodOnesKept) {
  const HolidayFileContents contents = ParseHolidayFile(
      "\xEF\xBB\xBF# 会社の休日\r\n"
      "2/30 ありえない日\r\n"
      "12/29 年末休暇\r\n"
      "13/01 十三月\r\n"
      "\r\n"
      "2023/02/29 平年\r\n"
      "年末 12/30\r\n"
      "12-31 大晦日\r\n"
      "1/2/3 三つ\r\n"
      "26/1/5 二桁の年\r\n"
      "100/1 三桁の月\r\n"
      "1/5");
  const std::vector<UserHoliday> days = {Yearly(12, 29, "年末休暇"), Yearly(1, 5, "休日")};
  EXPECT_EQ(contents.days, days);
  std::vector<int> lines;
  for (const HolidayFileProblem& p : contents.problems) lines.push_back(p.line);
  EXPECT_EQ(lines, std::vector<int>({2, 4, 6, 7, 8, 9, 10, 11}));
  ASSERT_EQ(contents.problems.size(), 8U);
  EXPECT_EQ(contents.problems[0].text,
            "休日ファイルの 2行目にエラーがあります：'2/30' という日はありません");
  EXPECT_EQ(contents.problems[2].text,
            "休日ファイルの 6行目にエラーがあります：'2023/02/29' という日はありません");
  EXPECT_EQ(contents.problems[4].text,
            "休日ファイルの 8行目にエラーがあります：'12-31' は日付の形ではありません"
            "（yyyy/mm/dd または mm/dd）");
}

TEST(HolidayFile, AnyBytesGiveWellFormedTextAndNoCrash) {
  using namespace std::string_literals;
  const std::string bytes = "1/2 \xFF\xFE名前\n\xFF\xC0/\n//\n/\n9999999999/1/1\n\0\n"s;
  const HolidayFileContents contents = ParseHolidayFile(bytes);
  ASSERT_EQ(contents.days.size(), 1U);
  EXPECT_EQ(contents.days[0].name, "\uFFFD\uFFFD名前");
  EXPECT_EQ(contents.problems.size(), 5U);
  EXPECT_TRUE(ParseHolidayFile("").days.empty());
}

TEST(HolidayCalendar, TheUsersDaysComeFirstAndCountAsHolidays) {
  const HolidayCalendar calendar({Yearly(12, 29, "年末休暇"), Dated(2026, 5, 3, "創立記念日"),
                                  Yearly(5, 3, "毎年の休み"), Dated(2026, 6, 1, "")});
  const auto at = [](int y, int m, int d) { return *TryEncodeDate(y, m, d) + 0.5; };
  EXPECT_EQ(calendar.Name(at(2026, 12, 29)), "年末休暇");
  EXPECT_EQ(calendar.Name(at(1990, 12, 29)), "年末休暇");
  EXPECT_EQ(calendar.Name(at(2026, 5, 3)), "創立記念日");  // over 憲法記念日, first line first
  EXPECT_EQ(calendar.Name(at(2027, 5, 3)), "毎年の休み");
  EXPECT_EQ(calendar.Name(at(2026, 5, 4)), "みどりの日");
  EXPECT_TRUE(calendar.IsHoliday(at(2026, 12, 29)));
  EXPECT_FALSE(calendar.IsHoliday(at(2026, 12, 30)));
  EXPECT_EQ(calendar.Name(at(2026, 6, 1)), "休日");  // a day given no name is still a day off

  const auto between = calendar.HolidaysBetween(at(2026, 12, 23), at(2027, 1, 1));
  ASSERT_EQ(between.size(), 2U);
  EXPECT_EQ(between[0].day, *TryEncodeDate(2026, 12, 29));
  EXPECT_EQ(between[1].name, "元日");  // both ends count
  EXPECT_TRUE(calendar.HolidaysBetween(at(2026, 12, 30), at(2026, 12, 29)).empty());
}

}  // namespace
}  // namespace chimewell
