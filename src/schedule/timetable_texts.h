#pragma once
// The words of the timetables and their calendar: the file's keywords and its problems.
#include <string>
#include <string_view>

namespace chimewell::timetable_texts {

// A day without chimes, in the calendar and on the page.
inline constexpr std::string_view kNone = "なし";
// Keywords that start a calendar line.
inline constexpr std::string_view kNationalHolidays = "祝日";
inline constexpr std::string_view kDaysOff = "休日";
inline constexpr std::string_view kDeclare = "日課";
// Weekdays as the calendar writes them, Sunday first; "月曜" and "月曜日" are read as "月".
inline constexpr std::string_view kWeekdays[7] = {"日", "月", "火", "水", "木", "金", "土"};

// "日課の暦の 3行目にエラーがあります：" and the reason; lines counted from 1.
inline std::string LineError(int line, std::string_view reason) {
  return "日課の暦の " + std::to_string(line) + "行目にエラーがあります：" + std::string(reason);
}
inline std::string NotADayWord(std::string_view word) {
  return "'" + std::string(word) +
         "' は曜日・日付・期間（yyyy/mm/dd-yyyy/mm/dd）・祝日・休日・日課のどれでもありません";
}
inline std::string NoSuchDay(std::string_view word) {
  return "'" + std::string(word) + "' という日はありません";
}
inline std::string RangeBackwards(std::string_view word) {
  return "期間 '" + std::string(word) + "' は終わりが始まりより前です";
}
inline constexpr std::string_view kNoTimetable = "日課の名前がありません";
inline std::string BadName(std::string_view name) {
  return "'" + std::string(name) +
         "' は日課の名前に使えません（20文字まで、空白・/・\\・#・. を含まない）";
}
inline std::string UnknownTimetable(std::string_view name) {
  return "日課「" + std::string(name) + "」は日課の暦にありません";
}
inline constexpr std::string_view kOneNameOnly = "日課は一つだけ書きます";

// A timetable's script line problem, headed by its name.
inline std::string InTimetable(std::string_view name, const std::string& problem) {
  return "日課「" + std::string(name) + "」の" + problem;
}

}  // namespace chimewell::timetable_texts
