// Times listed with slashes between them (9:00～12:00/14:00～18:00, 8:00/12:00/20:00), read one
// after another. The slash would make each time part of something larger (a path, a date) and
// leave it unread; between two times it is handed on as 、, where a speaker pauses.
#include "core/reading_rules.h"
#include "core/reading_texts.h"
#include "core/time_words.h"
#include "core/written_numbers.h"

namespace chimewell {
namespace {

using reading_texts::kSlashes;

// The length of a valid time written with colons that starts `text` after `before`, however
// it goes on; 0 when there is none.
size_t ColonTimeAt(std::string_view before, std::string_view text) {
  const size_t digits = ClockDigitsAt(text);
  if (digits == 0) return 0;
  const auto time = WrittenTimeOrDateAt(before, text.substr(0, digits));
  const bool whole_time =
      time && time->bytes == digits && time->fields[0].counter == time_words::kHour;
  return whole_time ? digits : 0;
}

// A time and the slash after it, when another time follows the slash.
struct ListedTime {
  size_t time = 0;
  size_t slash = 0;
};

// The time and slash that start `text`; none when no time follows the slash, or when that
// time is part of something larger than a list of times.
std::optional<ListedTime> ListedTimeAt(std::string_view before, std::string_view text) {
  const size_t first = ColonTimeAt(before, text);
  const size_t slash = first > 0 ? MarkAt(text.substr(first), kSlashes) : 0;
  if (slash == 0) return std::nullopt;
  const std::string_view rest = text.substr(first + slash);
  const size_t second = ColonTimeAt({}, rest);
  if (second == 0) return std::nullopt;
  const std::string_view after = rest.substr(second);
  const size_t next = MarkAt(after, kSlashes);
  const bool listed_on = next > 0 && ColonTimeAt({}, after.substr(next)) > 0;
  if (GluedAfter(after) && !listed_on) return std::nullopt;
  return ListedTime{first, slash};
}

}  // namespace

std::string SeparateListedTimes(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t at = 0; at < text.size();) {
    // What precedes is the text as rewritten: a time after a slash made 、 is a time of its own.
    if (const auto listed = ListedTimeAt(out, text.substr(at))) {
      out.append(text.substr(at, listed->time)).append(reading_texts::kTimeListMark);
      at += listed->time + listed->slash;
    } else {
      out += text[at++];
    }
  }
  return out;
}

}  // namespace chimewell
