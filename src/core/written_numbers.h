#pragma once
// Numbers as Japanese texts write them: digits ASCII or full-width, and times and dates written
// with colons and slashes (8:15, ８：１５, 4/29, 2026/4/29).
#include <array>
#include <cstddef>
#include <optional>
#include <string_view>

namespace chimewell {

struct Digit {
  int value;
  size_t bytes;
};

// An ASCII or a full-width digit (U+FF10..U+FF19) at the start of `text`.
std::optional<Digit> DigitAt(std::string_view text);
// The digit that ends `text`.
std::optional<Digit> DigitBefore(std::string_view text);

// One field of a time or date with the counter it is spoken with (15 and 分).
struct CountedNumber {
  std::string_view digits;  // as written, less a leading zero ("05" is "5", "00" stays)
  int value = 0;
  std::string_view counter;
};

// A time (H:MM, HH:MM, optionally :SS) or a date (M/D, YYYY/M/D) as it is spoken: 8:15 as
// 8時15分, 7:00 as 7時 (zero minutes and seconds unsaid, unless seconds follow zero minutes),
// 2026/04/29 as 2026年4月29日.
struct WrittenTimeOrDate {
  size_t bytes = 0;  // of the written form
  std::array<CountedNumber, 3> fields;
  size_t field_count = 0;
};

// The valid time (hours 0..23, minutes and seconds of two digits, 00..59) or date (a day of its
// month; 2/29 without a year) that starts `text`, where `before` is what precedes it. nullopt
// for anything else, and for a time or date that is part of something larger: next to a digit,
// a letter, a colon, a slash or a decimal point (16:9, 1:2:3, 10:15:99, 1/2/3, v1.8:15,
// /usr/share/4/29, 12:00.5).
std::optional<WrittenTimeOrDate> WrittenTimeOrDateAt(std::string_view before,
                                                     std::string_view text);

}  // namespace chimewell
