#pragma once
// Every national holiday of 1948..2099 by date: the law's days plus 振替休日 and 国民の休日,
// worked out once per process and then only looked up, from any thread.
#include "core/holiday_kind.h"

namespace chimewell {

// The kind of national holiday on the date, or kNone (also for dates outside 1948..2099 and
// for dates that do not exist).
HolidayKind NationalHolidayKind(int year, int month, int day);

}  // namespace chimewell
