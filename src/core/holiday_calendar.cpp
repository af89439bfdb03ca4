#include "core/holiday_calendar.h"

namespace chimewell {

std::string_view NationalHolidayName(int /*year*/, int /*month*/, int /*day*/) { return {}; }

std::string HolidayCalendar::Name(TDateTime day) const {
  const DateTimeParts parts = DecodeDateTime(day);
  for (const UserHoliday& own : user_days_) {
    if (own.month == parts.month && own.day == parts.day &&
        (!own.year || *own.year == parts.year)) {
      return own.name;
    }
  }
  return std::string(NationalHolidayName(parts.year, parts.month, parts.day));
}

bool HolidayCalendar::IsHoliday(TDateTime day) const { return !Name(day).empty(); }

}  // namespace chimewell
