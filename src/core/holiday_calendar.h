#pragma once
// Which days are holidays: Japan's national holidays by the law's rules, and the user's own
// days off (a company's or a school's calendar) read from the holiday file.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/datetime.h"

namespace chimewell {

// A national holiday's name on the date, or empty: the fixed and moving days, the equinoxes,
// 振替休日, 国民の休日 and the one-off days, from 1948-07-20 to 2099-12-31 (empty outside).
std::string_view NationalHolidayName(int year, int month, int day);

// One of the user's own days off: on one date (`year` set) or on that day every year.
struct UserHoliday {
  std::optional<int> year;
  int month = 1;
  int day = 1;
  std::string name;

  friend bool operator==(const UserHoliday&, const UserHoliday&) = default;
};

// Owned by whoever reads it; a copy is cheap enough to hand to another thread.
class HolidayCalendar {
 public:
  HolidayCalendar() = default;
  explicit HolidayCalendar(std::vector<UserHoliday> user_days) : user_days_(std::move(user_days)) {}

  // The holiday's name on the local date of `day` (the user's own name when both fall on it),
  // empty on other days.
  std::string Name(TDateTime day) const;
  bool IsHoliday(TDateTime day) const;

  // One holiday on its date (midnight), with its name as Name gives it.
  struct DatedHoliday {
    TDateTime day = 0;
    std::string name;
    friend bool operator==(const DatedHoliday&, const DatedHoliday&) = default;
  };
  // Every holiday from the date of `first_day` to the date of `last_day`, both included, in
  // date order.
  std::vector<DatedHoliday> HolidaysBetween(TDateTime first_day, TDateTime last_day) const;

  const std::vector<UserHoliday>& UserDays() const { return user_days_; }

 private:
  // The name of the holiday on `day`, without copying it; empty on other days.
  std::string_view NameOf(TDateTime day) const;

  std::vector<UserHoliday> user_days_;
};

}  // namespace chimewell
