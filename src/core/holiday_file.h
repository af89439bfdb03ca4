#pragma once
// The user's own days off, one per line of the holiday file: "yyyy/mm/dd name" (that date) or
// "mm/dd name" (every year); "#" starts a comment.
#include <string>
#include <string_view>
#include <vector>

#include "core/holiday_calendar.h"

namespace chimewell {

// A refused line (counted from 1) and why, worded for the user.
struct HolidayFileProblem {
  int line = 0;
  std::string text;

  friend bool operator==(const HolidayFileProblem&, const HolidayFileProblem&) = default;
};

// The good lines' days in file order, and one problem per bad line (good lines are kept).
struct HolidayFileContents {
  std::vector<UserHoliday> days;
  std::vector<HolidayFileProblem> problems;
};

HolidayFileContents ParseHolidayFile(std::string_view text);

}  // namespace chimewell
