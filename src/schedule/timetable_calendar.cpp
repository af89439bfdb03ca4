#include "schedule/timetable_calendar.h"

#include <algorithm>
#include <cmath>

#include "core/date_words.h"
#include "core/text_encoding.h"
#include "schedule/timetable_texts.h"

namespace chimewell {
namespace {

namespace tt = timetable_texts;

constexpr size_t kLongestName = 20;  // characters

// 0 Sunday .. 6 Saturday for "月", "月曜" or "月曜日"; none for another word.
std::optional<int> WeekdayOf(std::string_view word) {
  for (int i = 0; i < 7; ++i) {
    const std::string day(tt::kWeekdays[i]);
    if (word == day || word == day + "曜" || word == day + "曜日") return i;
  }
  return std::nullopt;
}

int64_t DayNumber(TDateTime t) { return static_cast<int64_t>(std::floor(t)); }

// A date of the calendar as a day number, or (every year) as month * 100 + day.
int64_t DayKey(const DateWord& date) {
  if (!date.year) return date.month * 100 + date.day;
  return DayNumber(*TryEncodeDate(*date.year, date.month, date.day));
}

bool IsUserDayOff(const DateTimeParts& p, const HolidayCalendar& holidays) {
  return std::any_of(
      holidays.UserDays().begin(), holidays.UserDays().end(), [&p](const UserHoliday& d) {
        return (!d.year || *d.year == p.year) && d.month == p.month && d.day == p.day;
      });
}

}  // namespace

bool IsTimetableName(std::string_view name) {
  if (name.empty() || name == tt::kNone || !IsValidUtf8(name)) return false;
  if (Utf8Prefix(name, kLongestName).size() != name.size()) return false;
  for (const char c : name) {
    const auto u = static_cast<unsigned char>(c);
    if (u < 0x20 || u == 0x7F || c == ' ' || c == '/' || c == '\\' || c == '#' || c == '.' ||
        c == '"' || c == '\'') {
      return false;
    }
  }
  // The full-width space is a blank too.
  return name.find("\u3000") == std::string_view::npos;
}

void TimetableCalendar::Name(const std::string& name) {
  if (!name.empty() && !Knows(name)) names_.push_back(name);
}

bool TimetableCalendar::Knows(std::string_view name) const {
  return std::find(names_.begin(), names_.end(), name) != names_.end();
}

TimetableCalendar TimetableCalendar::Parse(std::string_view text,
                                           std::vector<CalendarProblem>& problems) {
  TimetableCalendar calendar;
  ForEachContentLine(text, [&](int line_number, std::string_view line) {
    if (auto problem = ReadLine(line, calendar)) {
      problems.push_back({line_number, tt::LineError(line_number, *problem)});
    }
  });
  return calendar;
}

std::optional<std::string> TimetableCalendar::ReadLine(std::string_view line,
                                                       TimetableCalendar& into) {
  const auto [head, rest] = SplitFirstWord(line);
  if (head == tt::kDeclare) {
    std::vector<std::string> names;
    for (std::string_view left = rest; !left.empty();) {
      const auto [name, after] = SplitFirstWord(left);
      if (!IsTimetableName(name)) return tt::BadName(ToValidUtf8(name));
      names.emplace_back(name);
      left = after;
    }
    if (names.empty()) return std::string(tt::kNoTimetable);
    for (const std::string& name : names) into.Name(name);
    return std::nullopt;
  }
  // Every other line is a day, then one timetable (or なし).
  const auto [name_word, extra] = SplitFirstWord(rest);
  if (name_word.empty()) return std::string(tt::kNoTimetable);
  if (!extra.empty()) return std::string(tt::kOneNameOnly);
  if (name_word != tt::kNone && !IsTimetableName(name_word)) {
    return tt::BadName(ToValidUtf8(name_word));
  }
  const std::string name = name_word == tt::kNone ? std::string() : std::string(name_word);

  if (const auto weekday = WeekdayOf(head)) {
    into.weekdays_[*weekday] = name;
  } else if (head == "平日") {
    for (int i = 1; i <= 5; ++i) into.weekdays_[i] = name;
  } else if (head == tt::kNationalHolidays) {
    into.national_holidays_ = name;
  } else if (head == tt::kDaysOff) {
    into.days_off_ = name;
  } else if (DatePrefixLength(head) > 0) {
    // A date, or two joined by "-".
    const size_t dash = head.find('-');
    const std::string_view first_word = head.substr(0, dash);
    const std::string_view last_word =
        dash == std::string_view::npos ? first_word : head.substr(dash + 1);
    DateWord first, last;
    for (const auto& [word, date] : {std::pair{first_word, &first}, std::pair{last_word, &last}}) {
      const DateWordFault fault = DatePrefixLength(word) == word.size()
                                      ? ReadDateWord(word, *date)
                                      : DateWordFault::kNotADateForm;
      if (fault == DateWordFault::kNoSuchDay) return tt::NoSuchDay(ToValidUtf8(word));
      if (fault != DateWordFault::kNone) return tt::NotADayWord(QuotedFirstWord(head));
    }
    if (first.year.has_value() != last.year.has_value()) {
      return tt::NotADayWord(QuotedFirstWord(head));
    }
    Range range{DayKey(first), DayKey(last), !first.year.has_value(), name};
    // A range within a year goes forwards; one every year may run over New Year.
    if (!range.every_year && range.last < range.first) {
      return tt::RangeBackwards(QuotedFirstWord(head));
    }
    into.ranges_.push_back(std::move(range));
  } else {
    return tt::NotADayWord(QuotedFirstWord(head));
  }
  into.Name(name);
  return std::nullopt;
}

std::string TimetableCalendar::On(TDateTime day, const HolidayCalendar& holidays) const {
  const int64_t number = DayNumber(day);
  if (change_ && DayNumber(change_->date) == number) return change_->name;
  const DateTimeParts p = DecodeDateTime(static_cast<TDateTime>(number));
  const int64_t every_year_key = p.month * 100 + p.day;
  const auto covers = [&](const Range& r) {
    if (!r.every_year) return r.first <= number && number <= r.last;
    if (r.first <= r.last) return r.first <= every_year_key && every_year_key <= r.last;
    return every_year_key >= r.first || every_year_key <= r.last;  // over New Year
  };
  // A single date beats a range; among either, the later line.
  for (const bool single : {true, false}) {
    for (auto r = ranges_.rbegin(); r != ranges_.rend(); ++r) {
      if ((r->first == r->last) == single && covers(*r)) return r->name;
    }
  }
  if (days_off_ && IsUserDayOff(p, holidays)) return *days_off_;
  if (national_holidays_ && !NationalHolidayName(p.year, p.month, p.day).empty()) {
    return *national_holidays_;
  }
  return weekdays_[DayOfWeek(static_cast<TDateTime>(number)) - 1].value_or("");
}

}  // namespace chimewell
