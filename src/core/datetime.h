#pragma once
// The program's date-time: days since 1899-12-30 in local wall time, fraction = time of day.
#include <cstdint>
#include <ctime>
#include <optional>
#include <string>
#include <string_view>

namespace chimewell {

using TDateTime = double;

inline constexpr double kMsPerDay = 86400000.0;
inline constexpr int kSecondsPerDay = 86400;

struct DateTimeParts {
  int year = 1899;
  int month = 12;
  int day = 30;
  int hour = 0;
  int minute = 0;
  int second = 0;
  int millisecond = 0;
};

// True for a real calendar date in years 1..9999.
bool IsValidDate(int year, int month, int day);
bool IsLeapYear(int year);
int DaysInMonth(int year, int month);

// Whole days since 1899-12-30 for a valid date; nullopt otherwise.
std::optional<TDateTime> TryEncodeDate(int year, int month, int day);
// Fraction of a day; nullopt unless 0<=h<24, 0<=m<60, 0<=s<60, 0<=ms<1000.
std::optional<TDateTime> TryEncodeTime(int hour, int minute, int second, int millisecond);
// Both together; nullopt when either part is out of range.
std::optional<TDateTime> TryEncodeDateTime(const DateTimeParts& parts);

// Splits a moment into its parts; the time of day is rounded to the nearest millisecond.
DateTimeParts DecodeDateTime(TDateTime t);

// Weekday 1 (Sunday) .. 7 (Saturday).
int DayOfWeek(TDateTime t);
// The date part (midnight) and the time-of-day part.
TDateTime DateOf(TDateTime t);
TDateTime TimeOf(TDateTime t);

// (t * 86400000 + ms) / 86400000, the program's millisecond step.
TDateTime AddMilliseconds(TDateTime t, int64_t ms);
// |a - b| in milliseconds, truncated to a whole number.
int64_t MillisecondsBetween(TDateTime a, TDateTime b);
// Seconds since midnight of the time of day, truncated (0..86399).
int SecondOfDay(TDateTime t);

// Conversion with the system's local time zone (and its daylight-saving rules).
TDateTime FromUnixMilliseconds(int64_t unix_ms);
int64_t ToUnixMilliseconds(TDateTime t);

// Formats with the tokens yyyy yy mm m dd d ddd hh h nn n ss s zzz; anything else is literal.
// "ddd" is the Japanese short weekday name (日 月 火 水 木 金 土).
std::string FormatDateTime(std::string_view pattern, TDateTime t);

// The short and long Japanese weekday names for weekday 1..7.
std::string_view ShortWeekdayName(int weekday);
std::string_view LongWeekdayName(int weekday);

// Parses "yyyy/mm/dd hh:nn:ss" with an optional ".zzz"; nullopt for anything else.
std::optional<TDateTime> ParseDateTime(std::string_view text);

}  // namespace chimewell
