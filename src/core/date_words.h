#pragma once
// The pieces that the line files of dates share (the days-off file, the timetable calendar):
// blanks as a Japanese keyboard types them, dates written yyyy/mm/dd or mm/dd, and the word a
// problem quotes.
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "core/text_encoding.h"

namespace chimewell {

// Leading and trailing blanks off: ASCII spaces and tabs, and the full-width space.
std::string_view TrimBlanks(std::string_view text);

// The text up to the first blank, and what follows it (trimmed).
std::pair<std::string_view, std::string_view> SplitFirstWord(std::string_view text);

// The first word of a line, made valid UTF-8 and short enough to quote in a problem.
std::string QuotedFirstWord(std::string_view line);

// Calls `fn(line_number, content)` for every line of `text` (a UTF-8 BOM skipped, lines
// counted from 1) that holds more than blanks and a "#" comment; content is trimmed.
template <typename Fn>
void ForEachContentLine(std::string_view text, Fn fn) {
  if (HasUtf8Bom(text)) text.remove_prefix(3);
  int line_number = 0;
  while (!text.empty()) {
    ++line_number;
    const size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    if (line.ends_with('\r')) line.remove_suffix(1);
    line = TrimBlanks(line.substr(0, line.find('#')));
    if (!line.empty()) fn(line_number, line);
  }
}

enum class DateWordFault { kNone, kNotADateForm, kNoSuchDay };

struct DateWord {
  std::optional<int> year;  // none: every year
  int month = 1;
  int day = 1;
};

// "yyyy/mm/dd" or "mm/dd" (months and days of one or two digits). A day every year may be
// 2/29, which then comes in leap years only.
DateWordFault ReadDateWord(std::string_view word, DateWord& date);

// The length of the leading run of digits and slashes: where a date written first ends.
size_t DatePrefixLength(std::string_view line);

}  // namespace chimewell
