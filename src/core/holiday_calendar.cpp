#include "core/holiday_calendar.h"

#include "core/holiday_texts.h"
#include "core/national_holiday_table.h"

namespace chimewell {

std::string_view NationalHolidayName(int year, int month, int day) {
  return holiday_texts::Name(NationalHolidayKind(year, month, day));
}

std::string_view HolidayCalendar::NameOf(TDateTime day) const {
  const DateTimeParts parts = DecodeDateTime(day);
  for (const UserHoliday& own : user_days_) {
    if (own.month == parts.month && own.day == parts.day &&
        (!own.year || *own.year == parts.year)) {
      // A day off is one even when whoever made it gave it no name.
      return own.name.empty() ? holiday_texts::kUnnamedDay : std::string_view(own.name);
    }
  }
  return NationalHolidayName(parts.year, parts.month, parts.day);
}

std::string HolidayCalendar::Name(TDateTime day) const { return std::string(NameOf(day)); }

bool HolidayCalendar::IsHoliday(TDateTime day) const { return !NameOf(day).empty(); }

std::vector<HolidayCalendar::DatedHoliday> HolidayCalendar::HolidaysBetween(
    TDateTime first_day, TDateTime last_day) const {
  std::vector<DatedHoliday> holidays;
  for (TDateTime day = DateOf(first_day); day <= DateOf(last_day); day += 1) {
    if (std::string name = Name(day); !name.empty()) holidays.push_back({day, std::move(name)});
  }
  return holidays;
}

}  // namespace chimewell
