#include "core/speech_readings.h"

#include <gtest/gtest.h>

#include <span>

namespace chimewell {
namespace {

struct Rewrite {
  const char* text;
  const char* for_engine;
};

TEST(ApplySpeechReadings, ZeroHoursMinutesAndSecondsAreReadAsRei) {
  const Rewrite cases[] = {
      {"0時", "零時"},
      {"午前0時0分です", "午前零時零分です"},
      {"0時30分", "零時30分"},
      {"12時0分0秒", "12時零分零秒"},
      {"00時00分", "零時零分"},
      {"０時０分", "零時零分"},
      {"0時のニュース", "零時のニュース"},
      {"12-0時", "12-零時"},
  };
  for (const Rewrite& c : cases) EXPECT_EQ(ApplySpeechReadings(c.text), c.for_engine) << c.text;
}

TEST(ApplySpeechReadings, LeavesEveryOtherNumberAlone) {
  const char* const unchanged[] = {
      "10時20分", "100秒",    "１０時",   "20時0",    "1.0分",     "1．0分", "0時間",
      "0分間",    "0秒間",    "0日",      "0",        "今日は0点", "8月1日", "8月　",
      "8月 ",     "13月 1日", "8月 32日", "8月 0日",  "8月 1",     "",       "ゼロ時",
      "零時",     "0 時",     "令和11年", "令和01年", "西暦1年",   "1年"};
  for (const char* text : unchanged) EXPECT_EQ(ApplySpeechReadings(text), text) << text;
}

TEST(ApplySpeechReadings, FirstYearOfAnEraIsGannen) {
  EXPECT_EQ(ApplySpeechReadings("令和1年 5月 1日"), "令和元年 5月1日");
  EXPECT_EQ(ApplySpeechReadings("平成１年と明治1年"), "平成元年と明治元年");
}

TEST(ApplySpeechReadings, DayAfterItsMonthJoinsItAcrossBlanks) {
  const Rewrite cases[] = {
      {"令和8年 8月 1日 土曜日", "令和8年 8月1日 土曜日"},
      {"12月  31日", "12月31日"},
      {"８月　１日", "８月１日"},
      {"1月\t2日と3月 \u30004日", "1月2日と3月4日"},
      {"8月 1日目。", "8月1日目。"},
      {"2004年3月 15日", "2004年3月15日"},
  };
  for (const Rewrite& c : cases) EXPECT_EQ(ApplySpeechReadings(c.text), c.for_engine) << c.text;
}

TEST(ApplySpeechReadings, TimesAndDatesWrittenWithColonsAndSlashesGetTheirCounters) {
  const Rewrite cases[] = {
      {"8:15に集合", "8時15分に集合"},
      {"23:59。0:05、0:00", "23時59分。零時5分、零時"},
      {"7:00と12:30", "7時と12時30分"},
      {"08:05:30", "8時5分30秒"},
      {"10:00:30と10:20:00", "10時零分30秒と10時20分"},
      {"８：１５", "８時１５分"},
      {"時刻:8:15.", "時刻:8時15分."},
      {"4/29: 休み", "4月29日: 休み"},
      {"4/29-5/5", "4月29日-5月5日"},
      {"8/1と02/09と2/29", "8月1日と2月9日と2月29日"},
      {"2026/04/09", "2026年4月9日"},
      {"２０２８／２／２９", "２０２８年２月２９日"},
      {"12-0:30", "12-零時30分"},  // a dash does not continue a number
  };
  for (const Rewrite& c : cases) EXPECT_EQ(ApplySpeechReadings(c.text), c.for_engine) << c.text;
}

TEST(ApplySpeechReadings, LeavesWhatIsNoTimeOrDateOrPartOfSomethingLarger) {
  const char* const no_time[] = {"24:00",   "25:00",  "8:60",   "8:5",   "16:9",
                                 "3:1の比", "123:45", "12:345", "1:2:3", "10:15:99"};
  const char* const no_date[] = {"13/1",    "2/30",  "4/31",   "2025/2/29", "0999/1/1",
                                 "26/4/29", "50/50", "2026/4", "1.5/3"};
  const char* const part_of_more[] = {
      "1:00:00:00",        "8:15am", "v1.8:15", "8:15.5",          "1.8:15",
      "http://a.jp:8080/", "1/2/3",  "3/4/5/6", "/usr/share/4/29", "4/29/2026"};
  using Texts = std::span<const char* const>;
  for (const Texts unchanged : {Texts(no_time), Texts(no_date), Texts(part_of_more)}) {
    for (const char* text : unchanged) EXPECT_EQ(ApplySpeechReadings(text), text) << text;
  }
}

}  // namespace
}  // namespace chimewell
