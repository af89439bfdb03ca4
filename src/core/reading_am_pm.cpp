// AM and PM written before or after a time, as 午前 and 午後 before it.
#include <span>

#include "core/ascii_text.h"
#include "core/reading_chars.h"
#include "core/reading_rules.h"
#include "core/reading_texts.h"
#include "core/time_words.h"
#include "core/written_numbers.h"

namespace chimewell {
namespace {

using reading_texts::kHoursOnTheDial;
using time_words::kAfternoon;
using time_words::kMorning;

constexpr size_t kLongestMark = 6;  // ＡＭ

// 午前 or 午後 for the AM or PM mark that starts `text` (in any letter case), and its length.
std::pair<std::string_view, size_t> HalfOfDayAt(std::string_view text) {
  static constexpr std::string_view kFirstBytes = "aApP\xEF";  // ＡＭ, ａｍ start with EF
  if (text.empty() || kFirstBytes.find(text[0]) == std::string_view::npos) return {{}, 0};
  const std::string lower = AsciiLowerCopy(text.substr(0, kLongestMark));
  for (const auto& [marks, half] : {std::pair{std::span(reading_texts::kAm), kMorning},
                                    std::pair{std::span(reading_texts::kPm), kAfternoon}}) {
    if (const size_t length = MarkAt(lower, marks); length > 0) {
      // Not the start of a word (AMD, amazon) nor of a longer mark.
      if (StartsWithLetter(text.substr(length))) return {{}, 0};
      return {half, length};
    }
  }
  return {{}, 0};
}

// The hour written at the start of `time` (9 of 9:30, 12 of 12時) with its length; 12 o'clock
// as a Japanese speaker counts it, 0 (12 AM 午前0時, 12 PM 午後0時).
std::string DialHour(std::string_view time, size_t* hour_bytes) {
  const auto hour = WrittenNumberAt(time);
  *hour_bytes = hour->bytes;
  return hour->value == kHoursOnTheDial ? std::string("0")
                                        : std::string(time.substr(0, hour->bytes));
}

// A clock time of the 12 hours that starts `text`: H:MM(:SS), or H時 with its minutes. Its
// length, or 0.
size_t DialTimeAt(std::string_view text) {
  const auto time = TimeOrDateAt({}, text);
  if (!time || time->kind != ReadKind::kTime || time->value > kHoursOnTheDial) return 0;
  return time->bytes;
}

ReadItem Item(std::string_view half, std::string_view time, size_t bytes) {
  size_t hour_bytes = 0;
  std::string spoken(half);
  spoken += DialHour(time, &hour_bytes);
  spoken += time.substr(hour_bytes);
  const bool bare_hour = time.size() == hour_bytes;
  if (bare_hour) spoken += time_words::kHour;
  // No counter of its own: a number before a range mark does not take this time's AM or PM.
  return ReadItem{ReadKind::kTime, bytes, spoken, {}, WrittenNumberAt(time)->value, false};
}

}  // namespace

std::optional<ReadItem> AmPmTimeAt(std::string_view before, std::string_view text) {
  // AM 9:00, PM3:00, a.m. 10時
  if (const auto [half, mark] = HalfOfDayAt(text); mark > 0) {
    if (EndsWithLetter(before) || DigitBefore(before)) return std::nullopt;
    const size_t blanks = BlanksAt(text.substr(mark));
    const std::string_view rest = text.substr(mark + blanks);
    const size_t time = DialTimeAt(rest);
    if (time == 0) return std::nullopt;
    return Item(half, rest.substr(0, time), mark + blanks + time);
  }
  // 9:00 AM, 9am, 7 p.m.
  if (!DigitAt(text) || GluedBefore(before)) return std::nullopt;
  const size_t digits = ClockDigitsAt(text);
  const std::string_view time = text.substr(0, digits);
  const size_t blanks = BlanksAt(text.substr(digits));
  const auto [half, mark] = HalfOfDayAt(text.substr(digits + blanks));
  if (mark == 0) return std::nullopt;
  const auto hour = WrittenNumberAt(time);
  const bool bare_hour =
      hour->bytes == digits && hour->whole && hour->digits <= 2 && hour->value <= kHoursOnTheDial;
  if (!bare_hour && DialTimeAt(time) != digits) return std::nullopt;
  return Item(half, time, digits + blanks + mark);
}

}  // namespace chimewell
