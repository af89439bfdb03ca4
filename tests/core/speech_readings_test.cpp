#include "core/speech_readings.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace chimewell
