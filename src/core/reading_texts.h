#pragma once
// The words the reading rules look for in the user's texts and the words they hand the speech
// engine instead, kept together. The counters of times and dates are in time_words.h.
#include <string_view>
#include <utility>

namespace chimewell::reading_texts {

using Words = std::pair<std::string_view, std::string_view>;  // written, handed on

// Blanks between the parts of a range, an amount or a temperature.
inline constexpr std::string_view kBlanks[] = {" ", "\u3000", "\t"};

// --- ranges (reading_ranges.cpp) ---
// Marks that make a range of the items on both sides, and an open range after an item (18:00～)
// or before one (～17:00).
inline constexpr std::string_view kTildes[] = {"～", "〜", "~", "∼"};
// Dashes make a range only of two items that are a range with certainty (times, dates, weekdays,
// amounts; a number and a counted number rising: 3-5人, not 3-1 nor 03-1234-5678).
inline constexpr std::string_view kDashes[] = {"-", "－", "–", "—", "―"};
inline constexpr std::string_view kFrom = "から";
inline constexpr std::string_view kUntil = "まで";
// Written already after a range's end: no まで is added.
inline constexpr std::string_view kUntilWritten[] = {"まで", "迄"};
// What may follow the end of a range with a weekday of its own: 4/29(水)～5/5(火).
inline constexpr std::string_view kOpenBrackets[] = {"(", "（"};
inline constexpr std::string_view kCloseBrackets[] = {")", "）"};

// Counters a range of numbers may end with (the longest that is written counts). A number
// before the range mark takes the counter after it: 5～10分 is read 5分から10分.
inline constexpr std::string_view kRangeCounters[] = {
    "時間目", "時限目", "営業日", "時間",   "時限",   "時",   "分間",     "分",     "秒間",
    "秒",     "日間",   "日目",   "日",     "週間",   "週目", "週",       "か月間", "か月",
    "カ月間", "カ月",   "ヶ月間", "ヶ月",   "ヵ月間", "ヵ月", "ケ月",     "箇月",   "月",
    "年間",   "年生",   "年目",   "年代",   "年",     "歳",   "才",       "人",     "名",
    "回目",   "回",     "個",     "枚",     "本",     "杯",   "冊",       "台",     "件",
    "点",     "万円",   "千円",   "円",     "万人",   "倍",   "割",       "階",     "限目",
    "限",     "校時",   "問",     "ページ", "頁",     "行",   "章",       "部",     "匹",
    "頭",     "羽",     "箱",     "袋",     "缶",     "錠",   "粒",       "歩",     "周",
    "泊",     "度",     "代",     "位",     "着",     "軒",   "社",       "校",     "%",
    "％",     "km",     "kg",     "cm",     "mm",     "キロ", "メートル", "グラム", "リットル"};
// Counters of codes and addresses: a range with a tilde (1～3組), never with a dash (2-1組 is
// a class, 1-3 a chōme and a block).
inline constexpr std::string_view kTildeOnlyCounters[] = {"号室", "号車", "号館", "号",  "番線",
                                                          "番地", "番",   "組",   "丁目"};
// Counters of a count that a speaker reads as a span of two neighbouring numbers, 2～3日 as
// ニサンニチ and 1～2回 as イチニカイ, the first number bare.
inline constexpr std::string_view kApproximateCounters[] = {
    "営業日", "日間", "日",   "時間", "分間", "分", "秒", "週間", "か月", "カ月",
    "ヶ月",   "ヵ月", "年間", "年",   "歳",   "才", "人", "名",   "回",   "個",
    "枚",     "本",   "杯",   "冊",   "台",   "件", "倍", "割",   "問",   "匹",
    "粒",     "錠",   "周",   "泊",   "歩",   "軒", "社", "校"};
// The first number of such a span (1 to 7), as it is said there: 4～5人 シゴニン.
inline constexpr std::string_view kApproximateFirst[] = {"",   "イチ", "ニ",   "サン",
                                                         "シ", "ゴ",   "ロク", "シチ"};
// A count of days after the first number of a span, which the engine would read as a date
// (2～3日 ニサンニチ, not ニミッカ): by the second number, 2 to 8.
inline constexpr std::string_view kApproximateDays[] = {
    "", "", "ニニチ", "サンニチ", "ヨッカ", "ゴニチ", "ロクニチ", "シチニチ", "ハチニチ"};
inline constexpr std::string_view kApproximateDaysSpan = "カン";  // 2～3日間
inline constexpr std::string_view kDaysCounter = "日間";
// Between the two numbers of a span: the engine would make one number of them (2 3人 as 23).
inline constexpr std::string_view kApproximateJoint = "、";
// Counters whose 1 and 2 are said in words of their own (1人 ヒトリ, 2人 フタリ): 1～2人 is
// read 1人から2人.
inline constexpr std::string_view kOwnWordsForOneAndTwo[] = {"人"};

// --- times listed with slashes (reading_time_lists.cpp): 9:00～12:00/14:00～18:00 ---
inline constexpr std::string_view kSlashes[] = {"/", "／"};
// Between them instead, as a speaker pauses there.
inline constexpr std::string_view kTimeListMark = "、";

// --- AM and PM (reading_am_pm.cpp), read as 午前 and 午後 (time_words.h) ---
// Written before or after a time, in any letter case; full-width as well.
inline constexpr std::string_view kAm[] = {"a.m.", "a.m", "am", "ａｍ", "ＡＭ"};
inline constexpr std::string_view kPm[] = {"p.m.", "p.m", "pm", "ｐｍ", "ＰＭ"};
inline constexpr int kHoursOnTheDial = 12;  // 12 AM is 午前0時, 12 PM is 午後0時

// --- temperatures (reading_temperatures.cpp) ---
// Longest first: ° alone is a degree too, but not of °F.
inline constexpr std::string_view kDegreeMarks[] = {"℃", "°C", "°Ｃ", "°c", "°"};
inline constexpr std::string_view kNotCelsius[] = {"F", "Ｆ", "f", "℉"};
inline constexpr std::string_view kMinusSigns[] = {"-", "−", "－", "‐"};
inline constexpr std::string_view kDegree = "度";
inline constexpr std::string_view kMinus = "マイナス";

// --- yen (reading_yen.cpp) ---
inline constexpr std::string_view kYenSigns[] = {"¥", "￥"};
inline constexpr std::string_view kYen = "円";
// Large units written after the amount: ¥1.5万 is 1.5万円.
inline constexpr std::string_view kAmountUnits[] = {"万", "千", "億"};
// Bookkeeping writes ¥1,500- for an amount that ends there.
inline constexpr std::string_view kAmountEnds[] = {"-", "－", "―"};

// --- weekdays (reading_weekdays.cpp) ---
// A weekday written with one character, in the week's order, and as a speaker says it in a
// list or a range (月・木 ゲツ・モク, 月～金 ゲツからキン, 土日祝 ドニチシュク).
inline constexpr Words kWeekdays[] = {{"月", "ゲツ"}, {"火", "カ"},    {"水", "スイ"},
                                      {"木", "モク"}, {"金", "キン"},  {"土", "ド"},
                                      {"日", "ニチ"}, {"祝", "シュク"}};
// A weekday written in full after its character (木曜日, 木曜), kept as written.
inline constexpr std::string_view kWeekdaySuffixes[] = {"曜日", "曜"};
// Days off written in full in such a list (土日祝日), kept as written.
inline constexpr std::string_view kHolidayWords[] = {"祝日", "祭日", "祝祭日"};
inline constexpr std::string_view kListMarks[] = {"・", "･", "、", "，", ","};
// The marks of those that join words only, never clauses.
inline constexpr std::string_view kWordListMarks[] = {"・", "･"};
// Pairs that are words of their own: 月日 (ツキヒ, as in 生年月日), 水木 (a name), 日月. Written
// with nothing between, they stay as written; 月・日 may be a month and a day.
inline constexpr std::string_view kNotWeekdayPairs[] = {"月日", "水木", "日月"};
inline constexpr std::string_view kNotWeekdayListPair[] = {"月", "日"};
// A list may follow these without a blank: 毎週月・木, 隔週土日.
inline constexpr std::string_view kWeekWords[] = {"週"};

// --- around counters (reading_counter_joins.cpp) ---
// After a number and its counter, what the engine's dictionary would join to the counter into
// another word (10時の間 as 10 and 時の間 トキノマ; 1日中 read イチニチチュー): handed on in kana,
// so that the counter stays a word of its own and the rest is read as a speaker says it.
struct CounterJoin {
  std::string_view counter;
  std::string_view written;
  std::string_view handed_on;
};
inline constexpr CounterJoin kCounterJoins[] = {
    {"時", "の間", "のあいだ"},
    {"日", "中", "じゅう"},
    {"年", "中", "じゅう"},
};
// A number's reading of its own, which a counter join may follow (零時の間).
inline constexpr std::string_view kNumberWords[] = {"零", "元"};
// Words that begin with the last character of such a suffix (1日中止, 3日中学校で, 10時の間隔):
// the suffix stays as written.
inline constexpr std::string_view kWordsAfterCounters[] = {
    "中止", "中断", "中継", "中学", "中旬", "中央", "中間", "中心", "中国",
    "中部", "中古", "中華", "中級", "中盤", "中座", "中退", "中途", "中身",
    "中東", "中高", "間隔", "間取", "間違", "間近", "間際", "間食", "間引"};

}  // namespace chimewell::reading_texts
