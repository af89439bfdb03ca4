#pragma once
// When a schedule entry fires next, from its mode, times, window and weekdays.
#include <cstdint>
#include <string>

#include "core/datetime.h"
#include "schedule/schedule_entry.h"

namespace chimewell {

// Days from `weekday` (1 Sunday .. 7 Saturday) to the nearest day in `set`, counting today
// as 0 and wrapping from Saturday to Sunday; 0 when the set holds no day.
int DaysToNextWeekday(int weekday, uint8_t set);

// The entry's next nominal firing moment for the announced moment `now`, or 0 when it has
// none (an entry the parser would not produce, such as one without any allowed weekday).
// `recompute_flag` > 0 lets a "BGM" entry whose window is open today fire at once.
TDateTime NextFiringTime(const TSchedule& entry, TDateTime now, int recompute_flag);

// The debug-mode log line describing entry `index` and its computed next moment.
std::string NextTimeLogLine(int index, const TSchedule& entry, TDateTime next);

}  // namespace chimewell
