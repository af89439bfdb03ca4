#include "app/timetable_day.h"

#include "schedule/upcoming_firings.h"

namespace chimewell {

TimetableDay ViewTimetableDay(const Schedule& schedule, const HolidayCalendar& holidays,
                              TDateTime date, TDateTime from, size_t max_firings) {
  TimetableDay day;
  day.date = DateOf(date);
  const TimetableCalendar& calendar = schedule.Calendar();
  day.name = calendar.On(day.date, holidays);
  day.changed = calendar.DayChange() && DateOf(calendar.DayChange()->date) == day.date;
  if (day.name.empty()) return day;
  // The timetable's own entries, looked at in list order as the tick fires them.
  std::vector<TSchedule> entries;
  std::vector<const TSchedule*> originals;
  for (const TSchedule& entry : schedule.ScheduleEntries()) {
    if (entry.Timetable != day.name) continue;
    entries.push_back(entry);
    originals.push_back(&entry);
  }
  const TDateTime day_end = day.date + 1;
  for (const ScheduledFiring& f :
       UpcomingFirings(entries, holidays, from, 0, max_firings + 1, &calendar)) {
    if (f.moment >= day_end) break;
    if (day.firings.size() == max_firings) {
      day.more = true;
      break;
    }
    day.firings.push_back({f.moment, originals[f.index]});
  }
  return day;
}

}  // namespace chimewell
