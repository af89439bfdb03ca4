// The timetable calendar: which timetable a day gets, by weekday, holiday, date and range, a
// change for one day that is over at midnight, and every bad line with its reason; and the
// entries of a timetable firing only on its days.
#include "schedule/timetable_calendar.h"

#include <gtest/gtest.h>

#include "schedule/next_time.h"

namespace chimewell {
namespace {

TDateTime Day(int year, int month, int day) { return *TryEncodeDate(year, month, day); }

// A school's year: weekdays by default, a short day, holidays and vacations off, one-off days.
constexpr const char* kSchoolYear =
    "# 2026年度\n"
    "日課 通常 短縮 集会 テスト\n"
    "平日 通常\n"
    "水曜 短縮\n"
    "土 なし\n"
    "日曜日 なし\n"
    "祝日 なし\n"
    "休日 なし\n"
    "2026/07/21-2026/08/31 なし   # 夏休み\n"
    "12/25-01/07 なし              # 冬休み（毎年）\n"
    "2026/08/25 集会               # 休みの中の登校日\n"
    "2026/10/05-2026/10/07 テスト\n"
    "2026/10/06 通常               # 日付は期間に勝つ\n"
    "2026/10/05-2026/10/05 集会    # 後の期間は前の期間に勝つ\n";

TEST(TimetableCalendar, EachDayGetsItsTimetable) {
  std::vector<CalendarProblem> problems;
  const TimetableCalendar calendar = TimetableCalendar::Parse(kSchoolYear, problems);
  ASSERT_TRUE(problems.empty()) << problems.front().text;
  const HolidayCalendar holidays({UserHoliday{2026, 6, 1, "創立記念日"}});
  const struct {
    TDateTime day;
    const char* name;
  } cases[] = {
      {Day(2026, 6, 2), "通常"},   // Tuesday
      {Day(2026, 6, 3), "短縮"},   // Wednesday, after 平日
      {Day(2026, 6, 6), ""},       // Saturday
      {Day(2026, 6, 7), ""},       // Sunday
      {Day(2026, 6, 1), ""},       // the school's own day off, a Monday
      {Day(2026, 9, 21), ""},      // 敬老の日, a Monday
      {Day(2026, 7, 20), ""},      // 海の日
      {Day(2026, 7, 21), ""},      // the summer's first day, a Tuesday
      {Day(2026, 8, 25), "集会"},  // a date inside the vacation
      {Day(2026, 8, 31), ""},      // its last day
      {Day(2026, 9, 1), "通常"},    {Day(2026, 10, 5), "集会"},  // the later of two ranges
      {Day(2026, 10, 6), "通常"},                                // a date over a range
      {Day(2026, 10, 7), "テスト"},  // a Wednesday in the test range: the range wins
      {Day(2026, 12, 24), "通常"},  {Day(2026, 12, 28), ""},  // every year's range, over New Year
      {Day(2027, 1, 7), ""},        {Day(2027, 1, 8), "通常"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(calendar.On(c.day, holidays), c.name) << FormatDateTime("yyyy/mm/dd", c.day);
  }
  EXPECT_EQ(calendar.Names(), (std::vector<std::string>{"通常", "短縮", "集会", "テスト"}));
}

TEST(TimetableCalendar, AChangeForOneDayWinsThatDayOnly) {
  std::vector<CalendarProblem> problems;
  TimetableCalendar calendar = TimetableCalendar::Parse(kSchoolYear, problems);
  const HolidayCalendar holidays;
  calendar.SetDayChange({Day(2026, 6, 2), "短縮"});
  EXPECT_EQ(calendar.On(Day(2026, 6, 2) + 0.99, holidays), "短縮");
  EXPECT_EQ(calendar.On(Day(2026, 6, 3) - 1.0 / 86400000, holidays), "短縮");
  EXPECT_EQ(calendar.On(Day(2026, 6, 3), holidays), "短縮");  // Wednesday's own
  EXPECT_EQ(calendar.On(Day(2026, 6, 4), holidays), "通常");  // back at midnight
  calendar.SetDayChange({Day(2026, 6, 4), ""});
  EXPECT_EQ(calendar.On(Day(2026, 6, 4), holidays), "");
}

TEST(TimetableCalendar, EveryBadLineIsNamedWithItsReasonAndTheGoodOnesCount) {
  const struct {
    const char* line;
    const char* reason;
  } cases[] = {
      {"月", "日課の名前がありません"},
      {"月 通常 短縮", "日課は一つだけ書きます"},
      {"月 a/b", "'a/b' は日課の名前に使えません"},
      {"月 ..", "'..' は日課の名前に使えません"},
      {"毎日 通常", "'毎日' は曜日・日付・期間"},
      {"2026/02/30 通常", "'2026/02/30' という日はありません"},
      {"2026/13/01 通常", "'2026/13/01' という日はありません"},
      {"2026/08/31-2026/07/21 なし", "終わりが始まりより前です"},
      {"2026/07/21-08/31 なし", "は曜日・日付・期間"},
      {"2026/7/21x 通常", "は曜日・日付・期間"},
      {"日課", "日課の名前がありません"},
      {"日課 なし", "'なし' は日課の名前に使えません"},
      {"月 あいうえおかきくけこさしすせそたちつてとな", "は日課の名前に使えません"},
  };
  for (const auto& c : cases) {
    std::vector<CalendarProblem> problems;
    const std::string text = std::string("火 通常\n") + c.line + "\n";
    const TimetableCalendar calendar = TimetableCalendar::Parse(text, problems);
    ASSERT_EQ(problems.size(), 1u) << c.line;
    EXPECT_EQ(problems[0].line, 2) << c.line;
    EXPECT_TRUE(problems[0].text.starts_with("日課の暦の 2行目にエラーがあります："))
        << problems[0].text;
    EXPECT_NE(problems[0].text.find(c.reason), std::string::npos) << problems[0].text;
    EXPECT_EQ(calendar.On(Day(2026, 6, 2), HolidayCalendar()), "通常") << c.line;
  }
}

TEST(TimetableCalendar, AnyBytesParseWithoutHarm) {
  std::string bytes;
  for (int i = 0; i < 4096; ++i) bytes += static_cast<char>((i * 7919 + 13) % 256);
  std::vector<CalendarProblem> problems;
  const TimetableCalendar calendar = TimetableCalendar::Parse(bytes, problems);
  for (const std::string& name : calendar.Names()) EXPECT_TRUE(IsTimetableName(name));
  EXPECT_FALSE(problems.empty());
}

TEST(TimetableCalendar, ATimetablesEntriesFireOnlyOnItsDays) {
  std::vector<CalendarProblem> problems;
  TimetableCalendar calendar = TimetableCalendar::Parse(kSchoolYear, problems);
  const HolidayCalendar holidays;
  TSchedule bell;
  bell.Mode = imAt;
  bell.Seconds = 8 * 3600 + 40 * 60;
  bell.Timetable = "短縮";
  const TDateTime tuesday_morning = Day(2026, 6, 2) + 7.0 / 24;
  // Wednesday is the short day.
  EXPECT_EQ(NextFiringTime(bell, tuesday_morning, 0, holidays, &calendar),
            Day(2026, 6, 3) + bell.Seconds / 86400.0);
  calendar.SetDayChange({Day(2026, 6, 2), "短縮"});
  EXPECT_EQ(NextFiringTime(bell, tuesday_morning, 0, holidays, &calendar),
            Day(2026, 6, 2) + bell.Seconds / 86400.0);
  // Without a calendar a timetable's entry has no day; the main schedule's has every day.
  EXPECT_EQ(NextFiringTime(bell, tuesday_morning, 0, holidays), 0);
  bell.Timetable.clear();
  EXPECT_EQ(NextFiringTime(bell, tuesday_morning, 0, holidays, &calendar),
            Day(2026, 6, 2) + bell.Seconds / 86400.0);
}

}  // namespace
}  // namespace chimewell
