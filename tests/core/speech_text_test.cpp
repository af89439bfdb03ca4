#include "core/speech_text.h"

#include <gtest/gtest.h>

#include "core/japanese_era.h"

namespace chimewell {
namespace {

// Monday 15 March 2004 at the given time.
TDateTime March15(int h, int m, int s) { return *TryEncodeDateTime({2004, 3, 15, h, m, s, 0}); }

struct Example {
  const char* tmpl;
  int h, m, s;
  const char* expected;
};

TEST(ExpandSpeechText, WorkedExamples) {
  const Example examples[] = {
      {"[wa] [mon] [day] [wday]", 8, 0, 0, "平成16年 3月 15日 月曜日"},
      {"[year][mon][day]", 23, 59, 59, "2004年3月15日"},
      {"[hour][min]", 15, 15, 0, "3時15分"},
      {"[hour][min]", 15, 0, 0, "3時"},
      {"[hour][min]", 0, 5, 0, "0時5分"},
      {"[hour][min]", 12, 0, 0, "12時"},
      {"[hh24][min]", 15, 15, 0, "15時15分"},
      {"[ampm][hour][min][sec]", 9, 5, 30, "午前9時5分30秒"},
      {"default", 15, 0, 0, "午後3時0分です"},
      {"[default]", 15, 10, 0, "3時10分です"},
      {"[default]", 15, 15, 0, "15分です"},
      {"[AMPM][HOUR][MIN][sec]", 15, 15, 20, "20秒"},
      {"[AMPM][HOUR][MIN][sec]", 15, 15, 0, "15分"},
      {"[AMPM][HOUR][MIN][sec]", 15, 0, 0, "午後3時0分"},
      {"[HH24][MIN]", 15, 20, 0, "15時20分"},
      {"[HH24][MIN]", 15, 25, 0, "25分"},
      {"[sec]", 15, 15, 20, "20秒"},
      {"[AMPM][HOUR][MIN]です", 0, 0, 0, "午前0時0分です"},
  };
  for (const Example& e : examples) {
    EXPECT_EQ(ExpandSpeechText(e.tmpl, March15(e.h, e.m, e.s)), e.expected)
        << e.tmpl << " at " << e.h << ":" << e.m << ":" << e.s;
  }
}

TEST(ExpandSpeechText, DefaultWordOnlyWhenItIsTheWholeTemplate) {
  EXPECT_EQ(ExpandSpeechText("Default", March15(15, 0, 0)), "午後3時0分です");
  EXPECT_EQ(ExpandSpeechText("DEFAULT", March15(15, 0, 0)), "午後3時0分です");
  EXPECT_EQ(ExpandSpeechText("[DeFault]", March15(15, 10, 0)), "3時10分です");
  EXPECT_EQ(ExpandSpeechText("default です", March15(15, 0, 0)), "default です");
  EXPECT_EQ(ExpandSpeechText(" default", March15(15, 0, 0)), " default");
  EXPECT_EQ(ExpandSpeechText("", March15(15, 0, 0)), "");
}

TEST(ExpandSpeechText, ZeroMinutesAndSecondsVanishLeavingTheTextAround) {
  EXPECT_EQ(ExpandSpeechText("今 [min] [sec] です", March15(7, 0, 0)), "今   です");
  EXPECT_EQ(ExpandSpeechText("<[sec]>", March15(7, 0, 0)), "<>");
  EXPECT_EQ(ExpandSpeechText("[MIN]", March15(7, 0, 0)), "0分");
  EXPECT_EQ(ExpandSpeechText("[MIN][sec]", March15(7, 0, 5)), "5秒");
}

TEST(ExpandSpeechText, HourWordsAtNoonAndMidnight) {
  EXPECT_EQ(ExpandSpeechText("[hour]", March15(12, 30, 0)), "12時");
  EXPECT_EQ(ExpandSpeechText("[hour]", March15(0, 30, 0)), "0時");
  EXPECT_EQ(ExpandSpeechText("[hour]", March15(23, 0, 0)), "11時");
  EXPECT_EQ(ExpandSpeechText("[hh24]", March15(0, 30, 0)), "0時");
  EXPECT_EQ(ExpandSpeechText("[ampm][hour]", March15(12, 0, 0)), "午後12時");
  EXPECT_EQ(ExpandSpeechText("[ampm][hour]", March15(11, 59, 0)), "午前11時");
}

TEST(ExpandSpeechText, LetterCaseRulesOfTheTokens) {
  // [Sec] counts as seconds and is replaced; [Min] counts as minutes but is not a token.
  EXPECT_EQ(ExpandSpeechText("[HOUR][Sec]", March15(15, 0, 20)), "20秒");
  EXPECT_EQ(ExpandSpeechText("[HOUR][Min]", March15(15, 15, 0)), "[Min]");
  EXPECT_EQ(ExpandSpeechText("[HOUR][Min]", March15(15, 20, 0)), "3時[Min]");
  // Mixed case of the upper-case-only tokens stays as text.
  EXPECT_EQ(ExpandSpeechText("[AmPm][Ampm]", March15(15, 0, 0)), "[AmPm][Ampm]");
  EXPECT_EQ(ExpandSpeechText("[mIN]", March15(15, 0, 0)), "[mIN]");
  // Any case other than all lower is the conditional form of [hour] and [hh24].
  EXPECT_EQ(ExpandSpeechText("[Hour][hH24]", March15(15, 0, 0)), "3時15時");
  EXPECT_EQ(ExpandSpeechText("[Hour][Hh24][min][sec]", March15(15, 5, 0)), "5分");
  // Date tokens take any case.
  EXPECT_EQ(ExpandSpeechText("[WA][Year][MON][Day][WDay]", March15(1, 0, 0)),
            "平成16年2004年3月15日月曜日");
  // Unknown bracketed text and lone brackets are copied.
  EXPECT_EQ(ExpandSpeechText("[foo] [ [min", March15(1, 2, 3)), "[foo] [ [min");
}

TEST(ExpandSpeechText, RepeatedTokensAllExpand) {
  EXPECT_EQ(ExpandSpeechText("[hour][hour]・[sec][sec]", March15(9, 0, 7)), "9時9時・7秒7秒");
}

TEST(ExpandSpeechText, WeekdayNames) {
  const char* names[] = {"日曜日", "月曜日", "火曜日", "水曜日", "木曜日", "金曜日", "土曜日"};
  for (int day = 14; day <= 20; ++day) {  // Sunday 14 March 2004 to Saturday 20 March
    EXPECT_EQ(ExpandSpeechText("[wday]", *TryEncodeDate(2004, 3, day)), names[day - 14]);
  }
}

TEST(JapaneseEra, EraBoundaries) {
  struct Case {
    int y, m, d;
    const char* expected;
  };
  const Case cases[] = {
      {2019, 5, 1, "令和1年"},  {2019, 4, 30, "平成31年"}, {1989, 1, 8, "平成1年"},
      {1989, 1, 7, "昭和64年"}, {1926, 12, 25, "昭和1年"}, {1926, 12, 24, "大正15年"},
      {1912, 7, 30, "大正1年"}, {1912, 7, 29, "明治45年"}, {1868, 10, 23, "明治1年"},
      {2026, 12, 7, "令和8年"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ExpandSpeechText("[wa]", *TryEncodeDate(c.y, c.m, c.d)), c.expected)
        << c.y << "-" << c.m << "-" << c.d;
  }
  // Before 明治 the Western year is spoken instead.
  EXPECT_FALSE(JapaneseEraYear(1868, 10, 22));
  EXPECT_EQ(ExpandSpeechText("[wa]", *TryEncodeDate(1868, 10, 22)), "1868年");
}

TEST(ExpandSpeechText, HolidayNamesTodaysHolidayAndVanishesOnOtherDays) {
  const TDateTime children_day = *TryEncodeDateTime({2026, 5, 5, 7, 0, 0, 0});
  const TDateTime workday = *TryEncodeDateTime({2026, 5, 7, 7, 0, 0, 0});
  EXPECT_EQ(ExpandSpeechText("今日は[holiday]です", children_day), "今日はこどもの日です");
  EXPECT_EQ(ExpandSpeechText("[Holiday][hour]", children_day), "こどもの日7時");
  EXPECT_EQ(ExpandSpeechText("[hour][holiday]", workday), "7時");

  // The user's own day first; its name is spoken as written, brackets and all.
  const HolidayCalendar own({{std::nullopt, 5, 5, "[sec]創立記念日"}, {2026, 5, 7, "休業日"}});
  EXPECT_EQ(ExpandSpeechText("[holiday][min]", children_day, own), "[sec]創立記念日");
  EXPECT_EQ(ExpandSpeechText("[holiday]", workday, own), "休業日");
  EXPECT_EQ(ExpandSpeechText("[mon][day]", workday, own), "5月7日");
}

}  // namespace
}  // namespace chimewell
