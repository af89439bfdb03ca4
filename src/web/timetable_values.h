#pragma once
// The configuration page's timetable pieces: today's and tomorrow's timetable with their
// coming firings and the one-tap change ($!TTDAYS!$), an editor for each timetable
// ($!TTEDITORS!$), the calendar's text ($!CALROWS!$, $!CALSTR!$), and the add form's choices of
// where a line goes ($!TTADDOPTIONS!$) and of the built-in chimes ($!CHIMEOPTIONS!$).
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/timetable_day.h"
#include "core/datetime.h"
#include "core/holiday_calendar.h"
#include "core/line_list.h"
#include "web/page_render.h"

namespace chimewell {

class Application;

struct TimetableDrafts {
  const std::optional<std::pair<std::string, LineList>>& timetable;  // refused, by name
  const std::optional<LineList>& calendar;
};

// What the pieces show.
struct TimetablePage {
  TimetableDay today;
  TimetableDay tomorrow;
  std::vector<std::pair<std::string, LineList>> timetables;  // in the calendar's order
  LineList calendar;
  HolidayCalendar holidays;  // names the day for a spoken text's [holiday]
};

// The application's timetables as the page shows them at `now`, a refused edit in place of
// what it would have replaced.
TimetablePage ViewTimetables(const Application& app, TDateTime now, const TimetableDrafts& drafts);

void AppendTimetableValues(ReplacementList& list, const TimetablePage& page);

}  // namespace chimewell
