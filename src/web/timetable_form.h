#pragma once
// The configuration page's timetable forms: today's timetable changed with one tap (TTTODAY,
// or TTREVERT back to the calendar's), a timetable's script (TTSET, TTNAME, TTLINES) and the
// calendar (CALSET, CALENDAR), each all or nothing.
#include "web/request_context.h"

namespace chimewell {

// False when none of the markers was sent; a failed save throws FileWriteError.
bool HandleTimetableForm(RequestContext& ctx);

}  // namespace chimewell
