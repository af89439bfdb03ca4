#include "core/date_words.h"

#include <algorithm>

#include "core/datetime.h"
#include "core/text_encoding.h"

namespace chimewell {
namespace {

constexpr std::string_view kIdeographicSpace = "\u3000";  // what a Japanese keyboard types

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

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

size_t FirstBlank(std::string_view text) {
  return std::min({text.find(' '), text.find('\t'), text.find(kIdeographicSpace)});
}

}  // namespace

std::string_view TrimBlanks(std::string_view text) {
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

std::pair<std::string_view, std::string_view> SplitFirstWord(std::string_view text) {
  text = TrimBlanks(text);
  const size_t blank = FirstBlank(text);
  if (blank == std::string_view::npos) return {text, {}};
  return {text.substr(0, blank), TrimBlanks(text.substr(blank))};
}

std::string QuotedFirstWord(std::string_view line) {
  constexpr size_t kQuotedChars = 20;
  const std::string word = ToValidUtf8(line.substr(0, FirstBlank(line)));
  return std::string(Utf8Prefix(word, kQuotedChars));
}

DateWordFault ReadDateWord(std::string_view word, DateWord& date) {
  std::string_view parts[3];
  size_t count = 0;
  for (std::string_view rest = word;;) {
    if (count == 3) return DateWordFault::kNotADateForm;
    const size_t slash = rest.find('/');
    parts[count++] = rest.substr(0, slash);
    if (slash == std::string_view::npos) break;
    rest.remove_prefix(slash + 1);
  }
  if (count < 2 || (count == 3 && parts[0].size() != 4)) return DateWordFault::kNotADateForm;
  date.year.reset();
  if (count == 3) date.year = Number(parts[0], 4);
  date.month = Number(parts[count - 2], 2);
  date.day = Number(parts[count - 1], 2);
  if (date.month < 0 || date.day < 0) return DateWordFault::kNotADateForm;
  if (!IsValidDate(date.year.value_or(2000), date.month, date.day)) {
    return DateWordFault::kNoSuchDay;
  }
  return DateWordFault::kNone;
}

size_t DatePrefixLength(std::string_view line) {
  size_t end = 0;
  while (end < line.size() && (IsDigit(line[end]) || line[end] == '/')) ++end;
  return end;
}

}  // namespace chimewell
