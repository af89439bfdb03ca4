// Numbers and their counters, and times and dates, as the ends of ranges.
#include <span>

#include "core/datetime.h"
#include "core/reading_chars.h"
#include "core/reading_rules.h"
#include "core/reading_texts.h"
#include "core/time_words.h"
#include "core/written_numbers.h"

namespace chimewell {
namespace {

using reading_texts::kRangeCounters;
using reading_texts::kTildeOnlyCounters;

constexpr std::string_view kHalfHour = "半";
// After 時, 分 and 秒, what makes them a duration or another counter (時間, 時限, 分間).
constexpr std::string_view kNotAClockTime[] = {"間", "限"};
constexpr size_t kYearDigits = 4;
constexpr int kLastHour = 24;
constexpr int kMinutesInHour = 60;

// The longest counter of `counters` that starts `text`, or "".
std::string_view CounterAt(std::string_view text, std::span<const std::string_view> counters) {
  std::string_view found;
  for (const std::string_view counter : counters) {
    if (counter.size() > found.size() && text.starts_with(counter)) found = counter;
  }
  // A counter of letters (km) is no counter of a longer word (kmh).
  if (!found.empty() && IsAsciiLetter(found.back()) &&
      StartsWithLetter(text.substr(found.size()))) {
    return {};
  }
  return found;
}

// A number and `counter` after it, the counter not starting a longer word of `not_after`.
std::optional<DigitRun> CountedAt(std::string_view text, std::string_view counter, size_t digits,
                                  size_t* bytes, std::span<const std::string_view> not_after = {}) {
  const auto number = DigitRunAt(text.substr(*bytes));
  if (!number || number->digits > digits) return std::nullopt;
  const std::string_view after = text.substr(*bytes + number->bytes);
  if (!after.starts_with(counter) || MarkAt(after.substr(counter.size()), not_after) > 0) {
    return std::nullopt;
  }
  *bytes += number->bytes + counter.size();
  return number;
}

// 9時, 9時30分, 9時30分15秒, 9時半 (24時 and 24時0分 as the end of a day).
std::optional<ReadItem> KanjiTimeAt(std::string_view text) {
  size_t bytes = 0;
  const auto hour = CountedAt(text, time_words::kHour, 2, &bytes, kNotAClockTime);
  if (!hour || hour->value > kLastHour) return std::nullopt;
  if (text.substr(bytes).starts_with(kHalfHour)) {
    if (hour->value == kLastHour) return std::nullopt;
    bytes += kHalfHour.size();
  } else if (size_t more = bytes;
             const auto minute = CountedAt(text, time_words::kMinute, 2, &more, kNotAClockTime)) {
    if (minute->value >= kMinutesInHour || (hour->value == kLastHour && minute->value > 0)) {
      return std::nullopt;
    }
    bytes = more;
    if (const auto second = CountedAt(text, time_words::kSecond, 2, &more, kNotAClockTime)) {
      if (second->value >= kMinutesInHour) return std::nullopt;
      bytes = more;
    }
  }
  return ReadItem{ReadKind::kTime,   bytes,       std::string(text.substr(0, bytes)),
                  time_words::kHour, hour->value, false};
}

// 4月29日, 2026年4月29日.
std::optional<ReadItem> KanjiDateAt(std::string_view text) {
  size_t bytes = 0;
  int year = 2000;  // a leap year: 2月29日 without a year is a date
  if (const auto written = CountedAt(text, time_words::kYear, kYearDigits, &bytes)) {
    if (written->digits != kYearDigits) return std::nullopt;
    year = written->value;
  }
  const auto month = CountedAt(text, time_words::kMonth, 2, &bytes);
  const auto day = month ? CountedAt(text, time_words::kDay, 2, &bytes) : std::nullopt;
  if (!day || !IsValidDate(year, month->value, day->value)) return std::nullopt;
  return ReadItem{ReadKind::kDate,  bytes,      std::string(text.substr(0, bytes)),
                  time_words::kDay, day->value, false};
}

}  // namespace

std::optional<ReadItem> NumberOrCountAt(std::string_view before, std::string_view text) {
  if (GluedBefore(before)) return std::nullopt;
  const auto number = WrittenNumberAt(text);
  if (!number) return std::nullopt;
  const std::string_view after = text.substr(number->bytes);
  ReadItem item;
  item.value = number->value;
  item.single_digit = number->whole && number->digits == 1;
  std::string_view counter = CounterAt(after, kRangeCounters);
  if (const std::string_view code = CounterAt(after, kTildeOnlyCounters);
      code.size() > counter.size()) {
    counter = code;
  }
  if (!counter.empty()) {
    item.kind = ReadKind::kCount;
    item.counter = counter;
    item.bytes = number->bytes + counter.size();
  } else {
    if (NumberGoesOn(after)) return std::nullopt;  // 1.2.3, 12a, 1,50
    item.kind = ReadKind::kNumber;
    item.bytes = number->bytes;
  }
  item.spoken = text.substr(0, item.bytes);
  return item;
}

std::optional<ReadItem> TimeOrDateAt(std::string_view before, std::string_view text) {
  if (const auto written = WrittenTimeOrDateAt(before, text)) {
    const bool time = written->fields[0].counter == time_words::kHour;
    const CountedNumber& field = written->fields[time ? 0 : written->field_count - 1];
    return ReadItem{time ? ReadKind::kTime : ReadKind::kDate,
                    written->bytes,
                    std::string(text.substr(0, written->bytes)),
                    time ? time_words::kHour : time_words::kDay,
                    field.value,
                    false};
  }
  if (GluedBefore(before)) return std::nullopt;
  if (auto time = KanjiTimeAt(text)) return time;
  return KanjiDateAt(text);
}

}  // namespace chimewell
