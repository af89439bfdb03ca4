#pragma once
// The schedule's coming firings in time order, as the running program would fire them.
#include <cstddef>
#include <vector>

#include "core/datetime.h"
#include "core/holiday_calendar.h"
#include "schedule/schedule_entry.h"
#include "schedule/timetable_calendar.h"

namespace chimewell {

struct ScheduledFiring {
  TDateTime moment;  // nominal moment (what is announced)
  size_t index;      // the entry's position in the list
};

// The next `count` firings from the announced moment `from` on, the holiday options judged by
// `holidays`. Every entry is computed first
// with `recompute_flag` (as the first pass after start-up or a reload); after each firing the
// entry is computed again from its firing moment, as the tick does. Firings at the same moment
// come in list order. Entries of named timetables follow `timetables`.
std::vector<ScheduledFiring> UpcomingFirings(const std::vector<TSchedule>& entries,
                                            const HolidayCalendar& holidays, TDateTime from,
                                            int recompute_flag, size_t count,
                                            const TimetableCalendar* timetables = nullptr);

}  // namespace chimewell
