#pragma once
// Speech text templates: bracketed date and time tokens turned into spoken Japanese.
#include <string>
#include <string_view>

#include "core/datetime.h"
#include "core/holiday_calendar.h"

namespace chimewell {

// Expands the tokens of `tmpl` for the local moment `moment`: [wa] [year] [mon] [day] [wday]
// [ampm] [hh24] [hour] [min] [sec], the conditional [AMPM] [HH24] [HOUR] [MIN], and [default]
// (also a template that is just the word "default"). Unknown bracketed text stays as it is.
// Before 明治 (1868-10-23) [wa] gives the Western year, like [year]. [holiday] (any letter
// case) is the name of the day's holiday in `holidays`, or nothing on other days.
std::string ExpandSpeechText(std::string_view tmpl, TDateTime moment,
                             const HolidayCalendar& holidays);
// The same with the national holidays alone.
std::string ExpandSpeechText(std::string_view tmpl, TDateTime moment);

// `format` with every "[default]" (any letter case) replaced by `replacement`; a format that is
// just the word "default" is the replacement itself.
std::string ExpandDefaultToken(std::string_view format, std::string_view replacement);

}  // namespace chimewell
