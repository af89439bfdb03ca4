#pragma once
// The national holidays the law names (国民の祝日) with their history, and the one-off days set
// by their own laws; the days off that follow from them are added by the holiday table.
#include "core/holiday_kind.h"

namespace chimewell {

// The first day the holiday law was in force and the last year we compute.
inline constexpr int kFirstHolidayYear = 1948;
inline constexpr int kLastHolidayYear = 2099;

// The holiday the law names on the date, or kNone (also before 1948-07-20 and after 2099).
// Never kSubstitute or kBridge.
HolidayKind StatutoryHoliday(int year, int month, int day);

// Weekday 1 (Sunday) .. 7 (Saturday) of a date of the Gregorian calendar.
int WeekdayOfDate(int year, int month, int day);

}  // namespace chimewell
