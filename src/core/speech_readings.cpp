#include "core/speech_readings.h"

#include <optional>

#include "core/japanese_era.h"
#include "core/reading_chars.h"
#include "core/reading_rules.h"
#include "core/time_words.h"
#include "core/written_numbers.h"

namespace chimewell {
namespace {

using time_words::kDay;
using time_words::kMonth;
using time_words::kYear;

// The words the rules look for and write, kept together.
constexpr std::string_view kZero = "零";
constexpr std::string_view kZeroCounters[] = {time_words::kHour, time_words::kMinute,
                                              time_words::kSecond};
constexpr std::string_view kDuration = "間";
constexpr std::string_view kFirstYear = "元";

constexpr int kLastMonth = 12;
constexpr int kLastDay = 31;

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
  const auto day = DigitRunAt(day_text);
  if (!day || day->value < 1 || day->value > kLastDay) return 0;
  return day_text.substr(day->bytes).starts_with(kDay) ? blanks : 0;
}

// The rules of ranges, AM and PM, temperatures, yen and weekdays (reading_rules.h). Times and
// dates they keep are still written with colons and slashes.
std::string ReadMarks(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  size_t at = 0;
  while (at < text.size()) {
    const std::string_view before = text.substr(0, at), rest = text.substr(at);
    std::optional<ReadItem> read = RangeAt(before, rest);
    if (!read) read = RangeUntilAt(before, rest);
    if (!read) read = AmPmTimeAt(before, rest);
    if (!read) read = TemperatureAt(before, rest);
    if (!read) read = YenAmountAt(before, rest);
    if (!read) read = WeekdayListAt(before, rest);
    if (read) {
      out += read->spoken;
      at += read->bytes;
    } else {
      out += text[at++];
    }
  }
  return out;
}

// The rules of zeros, first years of eras, days joined to their months, and times and dates
// written with colons and slashes.
std::string ReadNumbers(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  size_t at = 0;
  while (at < text.size()) {
    const std::string_view before = text.substr(0, at), rest = text.substr(at);
    const auto number = ContinuesANumber(before) ? std::nullopt : DigitRunAt(rest);
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

}  // namespace

std::string ApplySpeechReadings(std::string_view text) {
  return KeepCountersApart(ReadNumbers(ReadMarks(SeparateListedTimes(text))));
}

}  // namespace chimewell
