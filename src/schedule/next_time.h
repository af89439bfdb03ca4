#pragma once
// When a schedule entry fires next, from its mode, times, window and weekdays.
#include <cstdint>
#include <string>

#include "core/datetime.h"
#include "core/holiday_calendar.h"
#include "schedule/schedule_entry.h"
#include "schedule/timetable_calendar.h"

namespace chimewell {

// Days from `weekday` (1 Sunday .. 7 Saturday) to the nearest day in `set`, counting today
// as 0 and wrapping from Saturday to Sunday; 0 when the set holds no day.
int DaysToNextWeekday(int weekday, uint8_t set);

// How many days, from the day of the moment on, the next firing is looked for: a year and a
// leap day with room to spare, so that a day off given once a year is always found.
inline constexpr int kDaysLookedAhead = 400;

// The entry's next nominal firing moment for the announced moment `now`, or 0 when it has
// none: an entry the parser would not produce (one without any allowed weekday), or one whose
// weekdays and holiday rule, judged by `holidays`, let no day within kDaysLookedAhead pass.
// `recompute_flag` > 0 lets a "BGM" entry whose window is open today fire at once. An entry
// of a named timetable fires only on the days `timetables` gives to it (none: on no day).
TDateTime NextFiringTime(const TSchedule& entry, TDateTime now, int recompute_flag,
                         const HolidayCalendar& holidays,
                         const TimetableCalendar* timetables = nullptr);

// The debug-mode log line describing entry `index` and its computed next moment.
std::string NextTimeLogLine(int index, const TSchedule& entry, TDateTime next);

}  // namespace chimewell
