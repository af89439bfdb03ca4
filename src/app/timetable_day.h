#pragma once
// One day as the page shows it: which timetable runs, whether the page changed it, and its
// coming firings.
#include <string>
#include <vector>

#include "core/datetime.h"
#include "core/holiday_calendar.h"
#include "schedule/schedule.h"

namespace chimewell {

struct TimetableDay {
  TDateTime date = 0;    // midnight
  std::string name;      // empty: none that day
  bool changed = false;  // chosen on the page for this date only
  struct Firing {
    TDateTime moment;
    const TSchedule* entry;
  };
  std::vector<Firing> firings;  // the timetable's, from `from` to the day's end, in time order
  bool more = false;            // firings beyond those listed
};

// The date of `day`, with at most `max_firings` of its timetable's firings after `from` (a
// moment on that date, or just before it).
TimetableDay ViewTimetableDay(const Schedule& schedule, const HolidayCalendar& holidays,
                              TDateTime day, TDateTime from, size_t max_firings);

}  // namespace chimewell
