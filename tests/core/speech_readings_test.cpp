#include "core/speech_readings.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstdint>
#include <span>
#include <string>

#include "core/text_encoding.h"

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
      {"4/29: 5/5", "4月29日: 5月5日"},
      {"8/1と02/09と2/29", "8月1日と2月9日と2月29日"},
      {"2026/04/09", "2026年4月9日"},
      {"２０２８／２／２９", "２０２８年２月２９日"},
      {"12-0:30", "12-零時30分"},  // a dash does not continue a number
  };
  for (const Rewrite& c : cases) EXPECT_EQ(ApplySpeechReadings(c.text), c.for_engine) << c.text;
}

TEST(ApplySpeechReadings, LeavesWhatIsNoTimeOrDateOrPartOfSomethingLarger) {
  const char* const no_time[] = {"24:30",   "25:00",  "8:60",   "8:5",   "16:9",
                                 "3:1の比", "123:45", "12:345", "1:2:3", "10:15:99"};
  const char* const no_date[] = {"13/1",    "2/30",  "4/31",   "2025/2/29", "0999/1/1",
                                 "26/4/29", "50/50", "2026/4", "1.5/3"};
  const char* const part_of_more[] = {
      "1:00:00:00",        "8:15x", "v1.8:15", "8:15.5",          "1.8:15",
      "http://a.jp:8080/", "1/2/3", "3/4/5/6", "/usr/share/4/29", "4/29/2026"};
  using Texts = std::span<const char* const>;
  for (const Texts unchanged : {Texts(no_time), Texts(no_date), Texts(part_of_more)}) {
    for (const char* text : unchanged) EXPECT_EQ(ApplySpeechReadings(text), text) << text;
  }
}

// --- The rules of issue 30: each table holds a rule's texts and what the engine is handed ---

void ExpectRewrites(std::span<const Rewrite> cases) {
  for (const Rewrite& c : cases) EXPECT_EQ(ApplySpeechReadings(c.text), c.for_engine) << c.text;
}

void ExpectUnchanged(std::span<const char* const> texts) {
  for (const char* text : texts) EXPECT_EQ(ApplySpeechReadings(text), text) << text;
}

TEST(ApplySpeechReadings, RangesOfTimesAreReadWithKaraAndMadeBeforeAWord) {
  const Rewrite cases[] = {
      {"9:00～17:00", "9時から17時"},
      {"9:00〜17:00", "9時から17時"},
      {"9:00~17:00", "9時から17時"},
      {"9:00 - 17:00", "9時から17時"},
      {"9:00-17:00", "9時から17時"},
      {"９：００～１７：００", "９時から１７時"},
      {"9時半～10時", "9時半から10時"},
      {"9時30分～10時", "9時30分から10時"},
      {"9～17時", "9時から17時"},
      {"9-17時", "9時から17時"},
      {"22～2時", "22時から2時"},
      {"10:00～12:00 打ち合わせ", "10時から12時まで 打ち合わせ"},
      {"8:00～10:00の間", "8時から10時のあいだ"},
      {"9:00～17:00まで勤務", "9時から17時まで勤務"},
      {"9:00～17:00迄", "9時から17時迄"},
      {"9:00～17:00、会議", "9時から17時、会議"},
      {"午前9:00～午後5:00", "午前9時から午後5時"},
      {"0:00～6:00 保守", "零時から6時まで 保守"},
  };
  ExpectRewrites(cases);
}

TEST(ApplySpeechReadings, RangesOfDatesCountsAndAmountsAreReadWithKara) {
  const Rewrite cases[] = {
      {"4/29～5/5", "4月29日から5月5日"},
      {"4/29-5/5", "4月29日から5月5日"},
      {"4/29(水)～5/5(火)", "4月29日(水)から5月5日(火)"},
      {"4月29日（水）～5月5日", "4月29日（水）から5月5日"},
      {"8月13日～16日 お盆", "8月13日から16日まで お盆"},
      {"5月10～12日", "5月10日から12日"},
      {"8月 1日～3日", "8月1日から3日"},
      {"2026/4/1～2027/3/31", "2026年4月1日から2027年3月31日"},
      {"5～10分", "5分から10分"},
      {"3-5人", "3人から5人"},
      {"1～2人", "1人から2人"},
      {"1,000～2,000円", "1,000円から2,000円"},
      {"10～20%", "10%から20%"},
      {"1.5～2時間", "1.5時間から2時間"},
      {"4～5月", "4月から5月"},
      {"1～3組", "1組から3組"},
      {"3人～5人", "3人から5人"},
      {"5～8km", "5kmから8km"},
      {"2025-2026年度", "2025年から2026年度"},
      {"第1～3回", "第1回から3回"},
  };
  ExpectRewrites(cases);
}

TEST(ApplySpeechReadings, NeighbouringCountsAreReadAsASpan) {
  const Rewrite cases[] = {
      {"2～3日", "ニ、サンニチ"},
      {"2-3日", "ニ、サンニチ"},
      {"3～4日", "サン、ヨッカ"},
      {"4～5日", "シ、ゴニチ"},
      {"2～3日間", "ニ、サンニチカン"},
      {"1～2時間", "イチ、2時間"},
      {"2～3人", "ニ、3人"},
      {"4～5人", "シ、5人"},
      {"5～6分", "ゴ、6分"},
      {"1～2回", "イチ、2回"},
      {"6～7割", "ロク、7割"},
      // Days of a month, and numbers that are no neighbours or have a word of their own.
      {"5月2～3日", "5月2日から3日"},
      {"8～9日", "8日から9日"},
      {"2～4日", "2日から4日"},
      {"1～2人", "1人から2人"},
      {"2～3時", "2時から3時"},
  };
  ExpectRewrites(cases);
}

TEST(ApplySpeechReadings, CountsOfTwoCountersMakeARangeWithATilde) {
  const Rewrite cases[] = {
      {"30分～1時間", "30分から1時間"},
      {"3か月～1年", "3か月から1年"},
      {"7～10営業日", "7営業日から10営業日"},
  };
  ExpectRewrites(cases);
  const char* const unchanged[] = {"30分-1時間"};  // a dash only between counts of one counter
  ExpectUnchanged(unchanged);
}

TEST(ApplySpeechReadings, TimesListedWithSlashesAreReadOneAfterAnother) {
  const Rewrite cases[] = {
      {"9:00～12:00/14:00～18:00", "9時から12時、14時から18時"},
      {"8:00/12:00/20:00", "8時、12時、20時"},
      {"10:00／11:00", "10時、11時"},
      {"1/2 12:00/13:00", "1月2日 12時、13時"},
  };
  ExpectRewrites(cases);
  const char* const unchanged[] = {"12:00/14",         "a12:00/13:00", "12:00/13:00x",
                                   "/usr/12:00/13:00", "4/29/2026",    "12:00/13:00/x1"};
  ExpectUnchanged(unchanged);
}

TEST(ApplySpeechReadings, OpenRangesAreReadWithKaraAfterAndMadeBefore) {
  const Rewrite cases[] = {
      {"18:00～ 新年会", "18時から 新年会"},
      {"18:00～新年会", "18時から新年会"},
      {"19時～", "19時から"},
      {"4/1～", "4月1日から"},
      {"1,000円～", "1,000円から"},
      {"¥500～", "500円から"},
      {"～17:00 提出", "17時まで 提出"},
      {"～5/31まで", "5月31日まで"},
      {"受付～17:00", "受付17時まで"},
      {"～3人", "3人まで"},
  };
  ExpectRewrites(cases);
}

TEST(ApplySpeechReadings, AmAndPmAreGozenAndGogo) {
  const Rewrite cases[] = {
      {"AM 9:00", "午前9時"},
      {"AM9:00", "午前9時"},
      {"PM3:00", "午後3時"},
      {"pm 3:30", "午後3時30分"},
      {"9am", "午前9時"},
      {"7pm", "午後7時"},
      {"9 AM", "午前9時"},
      {"9:00 AM", "午前9時"},
      {"8:15am", "午前8時15分"},
      {"6 a.m. 起床", "午前6時 起床"},
      {"11 p.m.", "午後11時"},
      {"10:00 A.M.", "午前10時"},
      {"AM10時", "午前10時"},
      {"ＰＭ４：３０", "午後４時３０分"},
      {"12 AM", "午前零時"},
      {"12 PM", "午後零時"},
      {"12:30 AM", "午前零時30分"},
      {"12:15 PM", "午後零時15分"},
      {"AM 0:30", "午前零時30分"},
      {"9am-5pm", "午前9時から午後5時"},
      {"AM9:00～PM5:00", "午前9時から午後5時"},
  };
  ExpectRewrites(cases);
}

TEST(ApplySpeechReadings, TemperaturesAreReadInDoWithTheirMinus) {
  const Rewrite cases[] = {
      {"25℃", "25度"},
      {"40°C", "40度"},
      {"20°", "20度"},
      {"28 ℃", "28度"},
      {"-3℃", "マイナス3度"},
      {"−1℃", "マイナス1度"},
      {"－18℃", "マイナス18度"},
      {"-5度", "マイナス5度"},
      {"37.5℃", "37.5度"},
      {"最低-5℃", "最低マイナス5度"},
      {"15～20℃", "15度から20度"},
      {"15-20℃", "15度から20度"},
      {"-2～8℃", "マイナス2度から8度"},
      {"5℃～-3℃", "5度からマイナス3度"},
  };
  ExpectRewrites(cases);
}

TEST(ApplySpeechReadings, YenBeforeAnAmountIsThatManyEn) {
  const Rewrite cases[] = {
      {"¥500", "500円"},
      {"¥1,500", "1,500円"},
      {"￥3,000", "3,000円"},
      {"¥ 300", "300円"},
      {"¥1.5万", "1.5万円"},
      {"¥4,500-", "4,500円"},
      {"¥2,000円", "2,000円"},
      {"会費¥2,000です", "会費2,000円です"},
      {"¥500～¥1,000", "500円から1,000円"},
      {"¥500～1,000", "500円から1,000円"},
      {"¥1,500,000", "1,500,000円"},
  };
  ExpectRewrites(cases);
}

TEST(ApplySpeechReadings, WeekdaysInListsAndRangesAreReadAsASpeakerSaysThem) {
  const Rewrite cases[] = {
      {"月・木", "ゲツ・モク"},
      {"月～金", "ゲツからキン"},
      {"月-金", "ゲツからキン"},
      {"土日祝", "ドニチシュク"},
      {"土日", "ドニチ"},
      {"毎週月水金", "毎週ゲツスイキン"},
      {"土日祝日は休み", "ドニチ祝日は休み"},
      {"月・水・金曜日", "ゲツ・スイ・金曜日"},
      {"月～金曜", "ゲツから金曜"},
      {"月曜～金曜", "月曜から金曜"},
      {"(土・日)", "(ド・ニチ)"},
      {"火、金", "カ、キン"},
      {"月・木、資源ゴミ", "ゲツ・モク、資源ゴミ"},
  };
  ExpectRewrites(cases);
}

TEST(ApplySpeechReadings, TheEndOfADayIs24Ji) {
  const Rewrite cases[] = {
      {"24:00", "24時"},
      {"24:00:00", "24時"},
      {"22:00～24:00", "22時から24時"},
      {"24時まで", "24時まで"},
  };
  ExpectRewrites(cases);
}

TEST(ApplySpeechReadings, WhatFollowsACounterIsHandedOnApartFromIt) {
  const Rewrite cases[] = {
      {"10時の間", "10時のあいだ"},
      {"零時の間", "零時のあいだ"},
      {"1日中", "1日じゅう"},
      {"１日中に", "１日じゅうに"},
      {"1年中無休", "1年じゅう無休"},
      {"12月1日中に提出", "12月1日じゅうに提出"},
      {"1日中止", "1日中止"},
      {"10日中旬", "10日中旬"},
      {"10時の間隔", "10時の間隔"},
      {"時の間", "時の間"},
      {"日中", "日中"},
  };
  ExpectRewrites(cases);
}

TEST(ApplySpeechReadings, LeavesWhatNoRuleRecognisesWithCertainty) {
  const char* const unchanged[] = {
      // ratios, versions, paths, addresses, phone numbers, codes, scores
      "16:9",
      "v2.0-beta",
      "/usr/share/9:00",
      "https://example.jp:8080/",
      "03-1234-5678",
      "090-1234-5678",
      "AB-1200",
      "12-345-6789",
      "3-1で勝ち",
      "2-0",
      "1-2-3",
      "2-1組",
      "1-3組",
      "2026-04-29",
      "〒100-0001",
      "ISBN978-4-00-000000-0",
      "Windows 10-11",
      // numbers without counters, descending dashes, odd ends
      "3～5",
      "5～",
      "5-3人",
      "5人～10",
      "～",
      "～abc",
      // AM and PM that are none
      "AMラジオ",
      "PM2.5",
      "AM9",
      "I am",
      "9 amigos",
      // degrees that are none
      "50°F",
      "℃",
      "-℃",
      "10-3",
      // yen without an amount
      "¥",
      "¥-",
      "¥1,5",
      "¥マーク",
      // words with weekday characters
      "水木しげる",
      "生年月日",
      "月日",
      "水木",
      "月・日",
      "今月～来月",
      "金・銀・銅",
      "火・水・風",
      "月1回",
      "月末・月初",
      "日月火",
      "1月・2月",
      "・月・木・",
      "土日出勤",
      // what follows a counter that is a word of its own
      "1日中止",
      "10時の間隔",
  };
  ExpectUnchanged(unchanged);
  // Of these, only the times and dates are read; the rest stays.
  const Rewrite partly[] = {
      {"PM 13:00", "PM 13時"},                                  // no hour past 12 with AM or PM
      {"13:00 PM", "13時 PM"},     {"9～11am", "9～午前11時"},  // whose AM would the 9 have?
      {"4/29～30", "4月29日～30"}, {"29～5/5", "29～5月5日"},
  };
  ExpectRewrites(partly);
}

// Any bytes: the rules end, and leave well-formed text well-formed.
TEST(ApplySpeechReadings, EndsOnAnyBytesAndKeepsTextWellFormed) {
  const std::string pieces[] = {"9",  "１", ":",  "：", "/",    "～",   "~",  "-",  "－", "℃",
                                "°",  "C",  "¥",  "￥", "月",   "木",   "日", "・", "中", "時",
                                "の", "間", "a",  "m",  ".",    ",",    " ",  "(",  "）", "円",
                                "人", "分", "AM", "pm", "から", "まで", "ã",  "", "ÿ"};
  uint32_t state = 2463534242u;  // xorshift: the same texts every run
  for (int round = 0; round < 20000; ++round) {
    std::string text;
    for (int n = 0; n < 12; ++n) {
      state ^= state << 13;
      state ^= state >> 17;
      state ^= state << 5;
      text += pieces[state % std::size(pieces)];
    }
    const std::string read = ApplySpeechReadings(text);
    ASSERT_LE(read.size(), text.size() * 8 + 64) << text;
    if (IsValidUtf8(text)) {
      ASSERT_TRUE(IsValidUtf8(read)) << text << " -> " << read;
    }
  }
  // A lone byte stays; after an open range, one that is no digit or letter does too.
  for (int byte = 0; byte < 256; ++byte) {
    const std::string lone(1, static_cast<char>(byte));
    EXPECT_EQ(ApplySpeechReadings(lone), lone);
    if (std::isalnum(byte)) continue;
    EXPECT_EQ(ApplySpeechReadings("9:00～" + lone), "9時から" + lone) << byte;
  }
}

}  // namespace
}  // namespace chimewell
