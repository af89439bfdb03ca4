#pragma once
// Which named timetable (日課) applies on a day: the calendar file's lines by weekday (the
// default), for national holidays and the user's days off, by date and by date range, "なし"
// for a day without chimes; and a change for one date made on the page, which wins over them
// all and is over when that date is.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/datetime.h"
#include "core/holiday_calendar.h"

namespace chimewell {

// A refused line (counted from 1) and why, worded for the user.
struct CalendarProblem {
  int line = 0;
  std::string text;
};

// One timetable chosen for one date.
struct DayChoice {
  TDateTime date = 0;  // midnight
  std::string name;    // empty: none that day
};

// A value; the schedule owns the running one.
class TimetableCalendar {
 public:
  // Parses the calendar file's text (UTF-8); each bad line gives one problem and counts for
  // nothing, the good ones count.
  static TimetableCalendar Parse(std::string_view text, std::vector<CalendarProblem>& problems);

  // The timetable on the local date of `day` (empty: none), national holidays and the user's
  // days off as `holidays` tells them.
  std::string On(TDateTime day, const HolidayCalendar& holidays) const;
  // Every timetable the calendar names, declared or chosen, in the order first named.
  const std::vector<std::string>& Names() const { return names_; }
  bool Knows(std::string_view name) const;

  // A timetable for one date, over every line; an empty name: none that day.
  void SetDayChange(DayChoice change) { change_ = std::move(change); }
  void ClearDayChange() { change_.reset(); }
  const std::optional<DayChoice>& DayChange() const { return change_; }

 private:
  struct Range {
    int64_t first = 0;  // whole days since the zero date, both ends included
    int64_t last = 0;
    bool every_year = false;  // month and day only: compared within a year
    std::string name;
  };
  static std::optional<std::string> ReadLine(std::string_view line, TimetableCalendar& into);
  void Name(const std::string& name);

  std::optional<std::string> weekdays_[7];  // Sunday first; unset: nothing said
  std::optional<std::string> national_holidays_;
  std::optional<std::string> days_off_;
  std::vector<Range> ranges_;  // dates are one-day ranges; a later line wins
  std::vector<std::string> names_;
  std::optional<DayChoice> change_;
};

// Whether `name` may name a timetable (it also becomes part of a file's name).
bool IsTimetableName(std::string_view name);

}  // namespace chimewell
