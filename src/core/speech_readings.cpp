#include "core/speech_readings.h"

#include <algorithm>
#include <optional>

#include "core/japanese_era.h"
#include "core/written_numbers.h"

namespace chimewell {
namespace {

// The words the rules look for and write, kept together.
constexpr std::string_view kZero = "零";
constexpr std::string_view kZeroCounters[] = {"時", "分", "秒"};
constexpr std::string_view kDuration = "間";
constexpr std::string_view kFirstYear = "元";
constexpr std::string_view kYear = "年";
constexpr std::string_view kMonth = "月";
constexpr std::string_view kDay = "日";
constexpr std::string_view kBlanks[] = {" ", "\u3000", "\t"};
constexpr std::string_view kDecimalPoints[] = {".", "．"};

constexpr int kLastMonth = 12;
constexpr int kLastDay = 31;

struct Number {
  size_t bytes = 0;
  int value = 0;  // stops growing past any value the rules care about
  bool all_zeros = true;
};

std::optional<Number> NumberAt(std::string_view text) {
  Number number;
  while (const auto digit = DigitAt(text.substr(number.bytes))) {
    number.bytes += digit->bytes;
    number.value = std::min(number.value * 10 + digit->value, 1000);
    number.all_zeros = number.all_zeros && digit->value == 0;
  }
  if (number.bytes == 0) return std::nullopt;
  return number;
}

// True when the character ending `before` makes a number starting after it part of a larger
// one: a digit (the 0 of 10時) or a decimal point (the 0 of 1.0分).
bool ContinuesANumber(std::string_view before) {
  for (const std::string_view point : kDecimalPoints) {
    if (before.ends_with(point)) return true;
  }
  return DigitBefore(before).has_value();
}

size_t BlanksAt(std::string_view text) {
  size_t length = 0;
  for (bool more = true; more;) {
    more = false;
    for (const std::string_view blank : kBlanks) {
      if (text.substr(length).starts_with(blank)) {
        length += blank.size();
        more = true;
      }
    }
  }
  return length;
}

// The counter of a zero hour, minute or second starting `after`, or empty.
std::string_view ZeroCounterAt(std::string_view after) {
  for (const std::string_view counter : kZeroCounters) {
    if (after.starts_with(counter) && !after.substr(counter.size()).starts_with(kDuration)) {
      return counter;
    }
  }
  return {};
}

// How many bytes of blanks follow a month (`after` begins with 月) that a day of the month
// follows; 0 when there is no such day or nothing between them.
size_t BlanksBeforeDayAt(std::string_view after) {
  if (!after.starts_with(kMonth)) return 0;
  const size_t blanks = BlanksAt(after.substr(kMonth.size()));
  if (blanks == 0) return 0;
  const std::string_view day_text = after.substr(kMonth.size() + blanks);
  const auto day = NumberAt(day_text);
  if (!day || day->value < 1 || day->value > kLastDay) return 0;
  return day_text.substr(day->bytes).starts_with(kDay) ? blanks : 0;
}

}  // namespace

std::string ApplySpeechReadings(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  size_t at = 0;
  while (at < text.size()) {
    const std::string_view before = text.substr(0, at), rest = text.substr(at);
    const auto number = ContinuesANumber(before) ? std::nullopt : NumberAt(rest);
    if (!number) {
      out += text[at++];
      continue;
    }
    // 8:15 as 8時15分, written so that the zero rule applies to its fields too (0:05 零時5分).
    if (const auto written = WrittenTimeOrDateAt(before, rest)) {
      for (size_t i = 0; i < written->field_count; ++i) {
        const CountedNumber& field = written->fields[i];
        out.append(field.value == 0 ? kZero : field.digits).append(field.counter);
      }
      at += written->bytes;
      continue;
    }
    const std::string_view after = rest.substr(number->bytes);
    if (number->all_zeros) {
      if (const std::string_view counter = ZeroCounterAt(after); !counter.empty()) {
        out.append(kZero).append(counter);
        at += number->bytes + counter.size();
        continue;
      }
    }
    const std::string_view digits = rest.substr(0, number->bytes);
    const bool first_year_of_era = (digits == "1" || digits == "１") && after.starts_with(kYear) &&
                                   EndsWithEraName(text.substr(0, at));
    out.append(first_year_of_era ? kFirstYear : digits);
    at += number->bytes;
    if (number->value >= 1 && number->value <= kLastMonth) {
      if (const size_t blanks = BlanksBeforeDayAt(after); blanks > 0) {
        out.append(kMonth);
        at += kMonth.size() + blanks;
      }
    }
  }
  return out;
}

}  // namespace chimewell
