#include "core/written_numbers.h"

#include <algorithm>
#include <span>

#include "core/datetime.h"
#include "core/time_words.h"

namespace chimewell {
namespace {

using time_words::kDay;
using time_words::kHour;
using time_words::kMinute;
using time_words::kMonth;
using time_words::kSecond;
using time_words::kYear;

constexpr std::string_view kColons[] = {":", "："};
constexpr std::string_view kSlashes[] = {"/", "／"};
// Marks that join a number to what is next to it (1:2:3, 1/2/3, 1.2).
constexpr std::string_view kJoiners[] = {":", "：", "/", "／", ".", "．"};

constexpr size_t kMostFields = 3;
constexpr size_t kYearDigits = 4;
constexpr int kFirstFourDigitYear = 1000;
constexpr int kLeapYear = 2000;  // a date without a year may be 2/29
constexpr int kHoursInDay = 24;
constexpr int kLargestValue = 1000000;
constexpr std::string_view kThousandsMarks[] = {",", "，"};
constexpr std::string_view kDecimalPoints[] = {".", "．"};
constexpr size_t kThousandsGroup = 3;
constexpr int kMinutesInHour = 60;

// A run of digits.
struct Field {
  std::string_view digits;
  size_t count = 0;  // digits, not bytes
  int value = 0;     // exact for up to six digits
};

std::optional<Field> FieldAt(std::string_view text) {
  const auto run = DigitRunAt(text);
  if (!run) return std::nullopt;
  return Field{text.substr(0, run->bytes), run->digits, run->value};
}

bool StartsWithWord(std::string_view text) {
  return !text.empty() && (IsAsciiLetter(text[0]) || DigitAt(text));
}

bool EndsWithWord(std::string_view text) {
  return !text.empty() && (IsAsciiLetter(text.back()) || DigitBefore(text));
}

// The digits of `field` as spoken: "05" as "5".
CountedNumber Counted(const Field& field, std::string_view counter) {
  std::string_view digits = field.digits;
  if (field.count == 2 && field.value < 10) digits.remove_prefix(DigitAt(digits)->bytes);
  return {digits, field.value, counter};
}

bool IsTime(std::span<const Field> fields) {
  if (fields.size() < 2) return false;
  if (fields[0].count > 2 || fields[0].value > kHoursInDay) return false;
  for (const Field& field : fields.subspan(1)) {
    if (field.count != 2 || field.value >= kMinutesInHour) return false;
    // 24:00 ends a day; no time goes past it.
    if (fields[0].value == kHoursInDay && field.value != 0) return false;
  }
  return true;
}

std::optional<WrittenTimeOrDate> Time(std::span<const Field> fields, size_t bytes) {
  if (!IsTime(fields)) return std::nullopt;
  WrittenTimeOrDate time;
  time.bytes = bytes;
  const bool seconds = fields.size() == 3 && fields[2].value != 0;
  time.fields[time.field_count++] = Counted(fields[0], kHour);
  if (fields[1].value != 0 || seconds) {
    time.fields[time.field_count++] = Counted(fields[1], kMinute);
  }
  if (seconds) time.fields[time.field_count++] = Counted(fields[2], kSecond);
  return time;
}

std::optional<WrittenTimeOrDate> Date(std::span<const Field> fields, size_t bytes) {
  if (fields.size() < 2) return std::nullopt;
  const bool with_year = fields.size() == 3;
  if (with_year && (fields[0].count != kYearDigits || fields[0].value < kFirstFourDigitYear)) {
    return std::nullopt;
  }
  const Field& month = fields[with_year ? 1 : 0];
  const Field& day = fields[with_year ? 2 : 1];
  const int year = with_year ? fields[0].value : kLeapYear;
  if (month.count > 2 || day.count > 2 || !IsValidDate(year, month.value, day.value)) {
    return std::nullopt;
  }
  WrittenTimeOrDate date;
  date.bytes = bytes;
  if (with_year) date.fields[date.field_count++] = Counted(fields[0], kYear);
  date.fields[date.field_count++] = Counted(month, kMonth);
  date.fields[date.field_count++] = Counted(day, kDay);
  return date;
}

}  // namespace

bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

size_t MarkAt(std::string_view text, std::span<const std::string_view> marks) {
  for (const std::string_view mark : marks) {
    if (text.starts_with(mark)) return mark.size();
  }
  return 0;
}

size_t MarkBefore(std::string_view text, std::span<const std::string_view> marks) {
  for (const std::string_view mark : marks) {
    if (text.ends_with(mark)) return mark.size();
  }
  return 0;
}

// A digit or a letter next to the time or date, or one joined to it by a colon, slash or point,
// makes it part of something larger: a ratio, a version, a path, an address.
bool GluedBefore(std::string_view before) {
  if (EndsWithWord(before)) return true;
  const size_t joiner = MarkBefore(before, kJoiners);
  return joiner > 0 && EndsWithWord(before.substr(0, before.size() - joiner));
}

bool GluedAfter(std::string_view after) {
  if (StartsWithWord(after)) return true;
  const size_t joiner = MarkAt(after, kJoiners);
  return joiner > 0 && StartsWithWord(after.substr(joiner));
}

std::optional<DigitRun> DigitRunAt(std::string_view text) {
  DigitRun run;
  while (const auto digit = DigitAt(text.substr(run.bytes))) {
    run.bytes += digit->bytes;
    ++run.digits;
    run.value = std::min(run.value * 10 + digit->value, kLargestValue);
    run.all_zeros = run.all_zeros && digit->value == 0;
  }
  if (run.digits == 0) return std::nullopt;
  return run;
}

bool ContinuesANumber(std::string_view before) {
  return MarkBefore(before, kDecimalPoints) > 0 || DigitBefore(before).has_value();
}

std::optional<WrittenNumber> WrittenNumberAt(std::string_view text) {
  const auto first = DigitRunAt(text);
  if (!first) return std::nullopt;
  WrittenNumber number{first->bytes, first->value, first->digits, true};
  // Thousands: after a first group of one to three digits, a comma and exactly three digits, as
  // long as they go on; a group of another length ends the number before its comma.
  while (first->digits <= kThousandsGroup) {
    const size_t comma = MarkAt(text.substr(number.bytes), kThousandsMarks);
    const auto group = comma > 0 ? DigitRunAt(text.substr(number.bytes + comma)) : std::nullopt;
    if (!group || group->digits != kThousandsGroup) break;
    number.bytes += comma + group->bytes;
    number.digits += kThousandsGroup;
    number.value = std::min(number.value * 1000 + group->value, kLargestValue);
  }
  const size_t point = MarkAt(text.substr(number.bytes), kDecimalPoints);
  if (const auto fraction =
          point > 0 ? DigitRunAt(text.substr(number.bytes + point)) : std::nullopt) {
    number.bytes += point + fraction->bytes;
    number.whole = false;
  }
  return number;
}

bool NumberGoesOn(std::string_view after) {
  const size_t comma = MarkAt(after, kThousandsMarks);
  return GluedAfter(after) || (comma > 0 && DigitAt(after.substr(comma)));
}

std::optional<Digit> DigitAt(std::string_view text) {
  if (!text.empty() && text[0] >= '0' && text[0] <= '9') return Digit{text[0] - '0', 1};
  if (text.size() >= 3 && text.substr(0, 2) == "\xEF\xBC") {
    const auto last = static_cast<unsigned char>(text[2]);
    if (last >= 0x90 && last <= 0x99) return Digit{last - 0x90, 3};
  }
  return std::nullopt;
}

std::optional<Digit> DigitBefore(std::string_view text) {
  if (const auto ascii = text.empty() ? std::nullopt : DigitAt(text.substr(text.size() - 1))) {
    return ascii;
  }
  const auto wide = text.size() >= 3 ? DigitAt(text.substr(text.size() - 3)) : std::nullopt;
  return wide && wide->bytes == 3 ? wide : std::nullopt;
}

size_t ClockDigitsAt(std::string_view text) {
  size_t bytes = 0;
  for (size_t field = 0; field < kMostFields; ++field) {
    const auto digits = DigitRunAt(text.substr(bytes));
    if (!digits) return field == 0 ? 0 : bytes - MarkBefore(text.substr(0, bytes), kColons);
    bytes += digits->bytes;
    const size_t colon = MarkAt(text.substr(bytes), kColons);
    if (colon == 0 || field + 1 == kMostFields) return bytes;
    bytes += colon;
  }
  return bytes;
}

std::optional<WrittenTimeOrDate> WrittenTimeOrDateAt(std::string_view before,
                                                     std::string_view text) {
  if (GluedBefore(before)) return std::nullopt;
  const auto first = FieldAt(text);
  if (!first) return std::nullopt;
  // The separator after the first field says which it may be: a time or a date.
  const bool time = MarkAt(text.substr(first->digits.size()), kColons) > 0;
  const std::span<const std::string_view> separators = time ? kColons : kSlashes;
  Field fields[kMostFields] = {*first};
  size_t count = 1, bytes = first->digits.size();
  while (count < kMostFields) {
    const size_t separator = MarkAt(text.substr(bytes), separators);
    const auto next = separator > 0 ? FieldAt(text.substr(bytes + separator)) : std::nullopt;
    if (!next) break;
    fields[count++] = *next;
    bytes += separator + next->digits.size();
  }
  if (GluedAfter(text.substr(bytes))) return std::nullopt;
  const std::span<const Field> read(fields, count);
  return time ? Time(read, bytes) : Date(read, bytes);
}

}  // namespace chimewell
