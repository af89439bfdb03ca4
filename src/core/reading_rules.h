#pragma once
// The reading rules of the user's texts, one family to a file, as ApplySpeechReadings runs
// them. Each recognises what starts `text` (what precedes it is `before`) and gives what the
// speech engine is to be handed for it; times and dates may still be written with colons and
// slashes there, the number rules of speech_readings.cpp give them their counters afterwards.
// A rule that does not recognise its text with certainty gives nothing.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace chimewell {

enum class ReadKind {
  kNumber,       // a number without a counter: 5 of 5～10分
  kCount,        // a number and its counter: 10分, 3人, 4月, 29日
  kTime,         // 8:15, 9時30分, 午前9時
  kDate,         // 4/29, 2026/4/29, 4月29日
  kWeekday,      // 月, 金曜日
  kTemperature,  // 25℃, -3℃
  kAmount,       // ¥1,500
};

// Something a rule recognised, and what the engine is handed for it.
struct ReadItem {
  ReadKind kind = ReadKind::kNumber;
  size_t bytes = 0;           // of the written form
  std::string spoken;         // handed on in its place
  std::string_view counter;   // of a count, and 時 of a time written without AM or PM
  int value = 0;              // the number's whole part, with its sign; the hour of a time, the
                              // day of a date, the place in the week of a weekday
  bool single_digit = false;  // a whole number of one digit
};

// reading_counts.cpp: a number, with its counter when it has one of the range counters; a time
// or date written with colons and slashes (8:15, 4/29) or with its counters (9時30分, 4月29日).
std::optional<ReadItem> NumberOrCountAt(std::string_view before, std::string_view text);
std::optional<ReadItem> TimeOrDateAt(std::string_view before, std::string_view text);

// reading_am_pm.cpp: a time with AM or PM before or after it (AM 9:00, 9:00 p.m., 7pm) as
// 午前9:00, 午後9:00, 午後7時; 12 AM as 午前0時 and 12 PM as 午後0時.
std::optional<ReadItem> AmPmTimeAt(std::string_view before, std::string_view text);

// reading_temperatures.cpp: a number with ℃, °C or ° as so many 度, a minus before it as
// マイナス (-3℃ as マイナス3度).
std::optional<ReadItem> TemperatureAt(std::string_view before, std::string_view text);

// reading_yen.cpp: ¥ or ￥ before an amount as that amount of 円 (¥1,500 as 1,500円).
std::optional<ReadItem> YenAmountAt(std::string_view before, std::string_view text);

// reading_weekdays.cpp: one weekday, written with its character alone (月) or in full (金曜日),
// as one end of a range; and a list of two or more (月・木, 土日祝, 月水金) as a speaker says it.
std::optional<ReadItem> WeekdayAt(std::string_view before, std::string_view text);
std::optional<ReadItem> WeekdayListAt(std::string_view before, std::string_view text);
// A weekday in brackets after a date (4/29(水)), which a range mark may follow; its length.
size_t BracketedWeekdayAt(std::string_view text);

// reading_ranges.cpp: two items and a range mark between them (9:00～17:00, 5～10分, 月～金) with
// から, and まで after the range where a speaker says it; an open range after an item (18:00～)
// with から, and before one (～17:00) with まで.
std::optional<ReadItem> RangeAt(std::string_view before, std::string_view text);
std::optional<ReadItem> RangeUntilAt(std::string_view before, std::string_view text);

// reading_time_lists.cpp: `text` with a slash between two times written with colons handed on
// as 、 (9:00～12:00/14:00～18:00 as 9:00～12:00、14:00～18:00), so that both are read as times.
std::string SeparateListedTimes(std::string_view text);

// reading_counter_joins.cpp: `text` with what follows a number's counter handed on so that the
// engine does not join it to the counter (10時の間 as 10時のあいだ, 1日中 as 1日じゅう).
std::string KeepCountersApart(std::string_view text);

}  // namespace chimewell
