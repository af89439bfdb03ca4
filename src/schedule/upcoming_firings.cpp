#include "schedule/upcoming_firings.h"

#include <functional>
#include <queue>
#include <utility>

#include "schedule/next_time.h"

namespace chimewell {

std::vector<ScheduledFiring> UpcomingFirings(const std::vector<TSchedule>& entries,
                                            const HolidayCalendar& holidays, TDateTime from,
                                            int recompute_flag, size_t count,
                                            const TimetableCalendar* timetables) {
  using Due = std::pair<TDateTime, size_t>;  // ordered by moment, then list position
  std::priority_queue<Due, std::vector<Due>, std::greater<>> due;
  for (size_t i = 0; i < entries.size(); ++i) {
    const TDateTime next = NextFiringTime(entries[i], from, recompute_flag, holidays, timetables);
    if (next > 0) due.emplace(next, i);
  }
  std::vector<ScheduledFiring> firings;
  while (firings.size() < count && !due.empty()) {
    const auto [moment, index] = due.top();
    due.pop();
    firings.push_back({moment, index});
    const TDateTime next = NextFiringTime(entries[index], moment, 0, holidays, timetables);
    // Every rule moves forward when computed at its own firing moment; an entry that does not
    // would fire endlessly, so it is left out rather than trusted.
    if (next > moment) due.emplace(next, index);
  }
  return firings;
}

}  // namespace chimewell
