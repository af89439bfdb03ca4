#include "core/holiday_file.h"

#include <algorithm>

#include "core/datetime.h"
#include "core/holiday_texts.h"
#include "core/text_encoding.h"

namespace chimewell {
namespace {

constexpr std::string_view kIdeographicSpace = "\u3000";  // what a Japanese keyboard types

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Leading and trailing blanks off: ASCII spaces and tabs, and the full-width space.
std::string_view Trim(std::string_view text) {
  for (;;) {
    if (text.starts_with(' ') || text.starts_with('\t')) {
      text.remove_prefix(1);
    } else if (text.starts_with(kIdeographicSpace)) {
      text.remove_prefix(kIdeographicSpace.size());
    } else if (text.ends_with(' ') || text.ends_with('\t')) {
      text.remove_suffix(1);
    } else if (text.ends_with(kIdeographicSpace)) {
      text.remove_suffix(kIdeographicSpace.size());
    } else {
      return text;
    }
  }
}

// A run of 1..max_digits ASCII digits as a number; -1 for anything else.
int Number(std::string_view digits, size_t max_digits) {
  if (digits.empty() || digits.size() > max_digits) return -1;
  int value = 0;
  for (const char c : digits) {
    if (!IsDigit(c)) return -1;
    value = value * 10 + (c - '0');
  }
  return value;
}

enum class DateFault { kNone, kNotADateForm, kNoSuchDay };

// "yyyy/mm/dd" or "mm/dd" (months and days of one or two digits) read into `day`.
DateFault ReadDate(std::string_view word, UserHoliday& day) {
  std::string_view parts[3];
  size_t count = 0;
  for (std::string_view rest = word;;) {
    if (count == 3) return DateFault::kNotADateForm;
    const size_t slash = rest.find('/');
    parts[count++] = rest.substr(0, slash);
    if (slash == std::string_view::npos) break;
    rest.remove_prefix(slash + 1);
  }
  if (count < 2 || (count == 3 && parts[0].size() != 4)) return DateFault::kNotADateForm;
  if (count == 3) day.year = Number(parts[0], 4);
  day.month = Number(parts[count - 2], 2);
  day.day = Number(parts[count - 1], 2);
  if (day.month < 0 || day.day < 0) return DateFault::kNotADateForm;
  // A day every year may be 2/29, which then comes in leap years only.
  if (!IsValidDate(day.year.value_or(2000), day.month, day.day)) return DateFault::kNoSuchDay;
  return DateFault::kNone;
}

// The first word of a line, short enough to quote in a problem.
std::string FirstWord(std::string_view line) {
  constexpr size_t kQuotedChars = 20;
  const size_t blank = std::min({line.find(' '), line.find('\t'), line.find(kIdeographicSpace)});
  const std::string word = ToValidUtf8(line.substr(0, blank));
  return std::string(Utf8Prefix(word, kQuotedChars));
}

std::string Reason(DateFault fault, std::string_view line) {
  return fault == DateFault::kNoSuchDay ? holiday_texts::NoSuchDay(FirstWord(line))
                                        : holiday_texts::NotADateForm(FirstWord(line));
}

}  // namespace

HolidayFileContents ParseHolidayFile(std::string_view text) {
  HolidayFileContents contents;
  if (HasUtf8Bom(text)) text.remove_prefix(3);
  int line_number = 0;
  while (!text.empty()) {
    ++line_number;
    const size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);

    if (line.ends_with('\r')) line.remove_suffix(1);
    line = Trim(line.substr(0, line.find('#')));
    if (line.empty()) continue;

    // The date is the leading run of digits and slashes; the name is what follows it.
    size_t date_end = 0;
    while (date_end < line.size() && (IsDigit(line[date_end]) || line[date_end] == '/')) {
      ++date_end;
    }
    UserHoliday day;
    const DateFault fault = ReadDate(line.substr(0, date_end), day);
    if (fault != DateFault::kNone) {
      contents.problems.push_back(
          {line_number, holiday_texts::LineError(line_number, Reason(fault, line))});
      continue;
    }
    const std::string_view name = Trim(line.substr(date_end));
    day.name = name.empty() ? std::string(holiday_texts::kUnnamedDay) : ToValidUtf8(name);
    contents.days.push_back(std::move(day));
  }
  return contents;
}

}  // namespace chimewell
