#include "core/datetime.h"

#include <array>
#include <cmath>
#include <cstdio>

namespace chimewell {
namespace {

// Days from 0001-01-01 (day 1) to 1899-12-30, the zero of the program's date-time.
constexpr int64_t kDaysTo1899 = 693594;

int64_t DaysBeforeYear(int year) {
  const int64_t y = year - 1;
  return y * 365 + y / 4 - y / 100 + y / 400;
}

constexpr std::array<std::string_view, 7> kShortWeekdays = {"日", "月", "火", "水", "木", "金", "土"};
constexpr std::array<std::string_view, 7> kLongWeekdays = {"日曜日", "月曜日", "火曜日", "水曜日",
                                                          "木曜日", "金曜日", "土曜日"};

}  // namespace

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysInMonth(int year, int month) {
  static constexpr std::array<int, 12> kDays = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12) return 0;
  return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

bool IsValidDate(int year, int month, int day) {
  return year >= 1 && year <= 9999 && month >= 1 && month <= 12 && day >= 1 &&
         day <= DaysInMonth(year, month);
}

std::optional<TDateTime> TryEncodeDate(int year, int month, int day) {
  if (!IsValidDate(year, month, day)) return std::nullopt;
  int64_t days = DaysBeforeYear(year);
  for (int m = 1; m < month; ++m) days += DaysInMonth(year, m);
  days += day;
  return static_cast<TDateTime>(days - kDaysTo1899);
}

std::optional<TDateTime> TryEncodeTime(int hour, int minute, int second, int millisecond) {
  if (hour < 0 || hour >= 24 || minute < 0 || minute >= 60 || second < 0 || second >= 60 ||
      millisecond < 0 || millisecond >= 1000) {
    return std::nullopt;
  }
  const int64_t ms = ((hour * 60LL + minute) * 60 + second) * 1000 + millisecond;
  return static_cast<TDateTime>(ms) / kMsPerDay;
}

std::optional<TDateTime> TryEncodeDateTime(const DateTimeParts& p) {
  const auto date = TryEncodeDate(p.year, p.month, p.day);
  const auto time = TryEncodeTime(p.hour, p.minute, p.second, p.millisecond);
  if (!date || !time) return std::nullopt;
  return *date + *time;
}

DateTimeParts DecodeDateTime(TDateTime t) {
  // Far outside the years 1 to 9999, or not a number at all: the default parts, as before year 1
  // (the millisecond count below would not fit).
  if (!(std::fabs(t) < 1.0e7)) return {};
  // Work in whole milliseconds so that 23:59:59.9996 rolls over into the next day.
  const int64_t total_ms = std::llround(t * kMsPerDay);
  int64_t days = total_ms >= 0 ? total_ms / 86400000 : -((-total_ms + 86399999) / 86400000);
  int64_t ms_of_day = total_ms - days * 86400000;

  DateTimeParts p;
  p.millisecond = static_cast<int>(ms_of_day % 1000);
  ms_of_day /= 1000;
  p.second = static_cast<int>(ms_of_day % 60);
  ms_of_day /= 60;
  p.minute = static_cast<int>(ms_of_day % 60);
  p.hour = static_cast<int>(ms_of_day / 60);

  int64_t day_number = days + kDaysTo1899;  // 1 = 0001-01-01
  if (day_number < 1) return p;             // before year 1: keep the default date
  int year = static_cast<int>((day_number - 1) / 366) + 1;
  while (DaysBeforeYear(year + 1) < day_number) ++year;
  int64_t day_of_year = day_number - DaysBeforeYear(year);
  int month = 1;
  while (day_of_year > DaysInMonth(year, month)) day_of_year -= DaysInMonth(year, month++);
  p.year = year;
  p.month = month;
  p.day = static_cast<int>(day_of_year);
  return p;
}

int DayOfWeek(TDateTime t) {
  // 1899-12-30 (day 0) was a Saturday.
  const int64_t day = static_cast<int64_t>(std::floor(t));
  return static_cast<int>(((day % 7) + 7 + 6) % 7) + 1;
}

TDateTime DateOf(TDateTime t) { return std::floor(t); }
TDateTime TimeOf(TDateTime t) { return t - std::floor(t); }

TDateTime AddMilliseconds(TDateTime t, int64_t ms) {
  return (t * kMsPerDay + static_cast<double>(ms)) / kMsPerDay;
}

int64_t MillisecondsBetween(TDateTime a, TDateTime b) {
  return static_cast<int64_t>(std::trunc(std::fabs(a - b) * kMsPerDay));
}

int SecondOfDay(TDateTime t) {
  const DateTimeParts p = DecodeDateTime(t);
  return (p.hour * 60 + p.minute) * 60 + p.second;
}

TDateTime FromUnixMilliseconds(int64_t unix_ms) {
  const int64_t secs = unix_ms >= 0 ? unix_ms / 1000 : -((-unix_ms + 999) / 1000);
  const int ms = static_cast<int>(unix_ms - secs * 1000);
  const std::time_t tt = static_cast<std::time_t>(secs);
  std::tm tm{};
  localtime_r(&tt, &tm);
  DateTimeParts p{tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min,
                  tm.tm_sec > 59 ? 59 : tm.tm_sec, ms};
  return TryEncodeDateTime(p).value_or(0.0);
}

int64_t ToUnixMilliseconds(TDateTime t) {
  const DateTimeParts p = DecodeDateTime(t);
  std::tm tm{};
  tm.tm_year = p.year - 1900;
  tm.tm_mon = p.month - 1;
  tm.tm_mday = p.day;
  tm.tm_hour = p.hour;
  tm.tm_min = p.minute;
  tm.tm_sec = p.second;
  tm.tm_isdst = -1;  // let the C library apply the zone's daylight-saving rule
  return static_cast<int64_t>(std::mktime(&tm)) * 1000 + p.millisecond;
}

std::string_view ShortWeekdayName(int weekday) {
  return weekday >= 1 && weekday <= 7 ? kShortWeekdays[weekday - 1] : std::string_view{};
}

std::string_view LongWeekdayName(int weekday) {
  return weekday >= 1 && weekday <= 7 ? kLongWeekdays[weekday - 1] : std::string_view{};
}

std::string FormatDateTime(std::string_view pattern, TDateTime t) {
  const DateTimeParts p = DecodeDateTime(t);
  std::string out;
  auto number = [&out](int value, int width) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%0*d", width, value);
    out += buf;
  };
  size_t i = 0;
  auto take = [&](std::string_view token) {
    if (pattern.substr(i, token.size()) != token) return false;
    i += token.size();
    return true;
  };
  while (i < pattern.size()) {
    if (take("yyyy")) number(p.year, 4);
    else if (take("yy")) number(p.year % 100, 2);
    else if (take("mm")) number(p.month, 2);
    else if (take("m")) number(p.month, 1);
    else if (take("ddd")) out += ShortWeekdayName(DayOfWeek(t));
    else if (take("dd")) number(p.day, 2);
    else if (take("d")) number(p.day, 1);
    else if (take("hh")) number(p.hour, 2);
    else if (take("h")) number(p.hour, 1);
    else if (take("nn")) number(p.minute, 2);
    else if (take("n")) number(p.minute, 1);
    else if (take("ss")) number(p.second, 2);
    else if (take("s")) number(p.second, 1);
    else if (take("zzz")) number(p.millisecond, 3);
    else out += pattern[i++];
  }
  return out;
}

std::optional<TDateTime> ParseDateTime(std::string_view text) {
  DateTimeParts p;
  int consumed = 0;
  const std::string s(text);
  if (std::sscanf(s.c_str(), "%4d/%2d/%2d %2d:%2d:%2d%n", &p.year, &p.month, &p.day, &p.hour,
                  &p.minute, &p.second, &consumed) != 6) {
    return std::nullopt;
  }
  std::string_view rest = text.substr(static_cast<size_t>(consumed));
  if (!rest.empty()) {
    if (rest.size() != 4 || rest[0] != '.') return std::nullopt;
    p.millisecond = 0;
    for (char c : rest.substr(1)) {
      if (c < '0' || c > '9') return std::nullopt;
      p.millisecond = p.millisecond * 10 + (c - '0');
    }
  }
  return TryEncodeDateTime(p);
}

}  // namespace chimewell
