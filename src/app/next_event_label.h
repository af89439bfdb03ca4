#pragma once
// How the status line and the log name a schedule entry's firing: its moment, with the date
// when it is not today's, and what it plays, a long text cut with a mark.
#include <string>

#include "core/datetime.h"
#include "core/holiday_calendar.h"
#include "schedule/schedule_entry.h"

namespace chimewell {

// The longest spoken text the line quotes whole, in characters.
inline constexpr size_t kQuotedTextChars = 40;

// "次は 07:30.00 『…』" for a firing on the date of `today`, "次は 12/9 7:59 『…』" for one on
// another date (seconds shown when they are not zero); an entry of a named timetable is
// followed by its name, 「（短縮）」.
std::string NextEventLabel(const TSchedule& entry, TDateTime nominal, TDateTime today,
                           const HolidayCalendar& holidays);

// NextEventLabel without the timetable.
std::string WhatAndWhen(const TSchedule& entry, TDateTime nominal, TDateTime today,
                        const HolidayCalendar& holidays);

// `text` as it stands when it has at most `max_chars` characters, else its first characters
// and 「…」.
std::string CutWithMark(const std::string& text, size_t max_chars);

}  // namespace chimewell
