#pragma once
// Numbers as Japanese texts write them: digits ASCII or full-width, and times and dates written
// with colons and slashes (8:15, ８：１５, 4/29, 2026/4/29).
#include <array>
#include <cstddef>
#include <optional>
#include <span>
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

// A run of digits, ASCII or full-width, with nothing between them.
struct DigitRun {
  size_t bytes = 0;
  int value = 0;  // stops growing past 1,000,000
  size_t digits = 0;
  bool all_zeros = true;
};
std::optional<DigitRun> DigitRunAt(std::string_view text);

// True when the character ending `before` makes a number starting after it part of a larger
// one: a digit (the 0 of 10時) or a decimal point (the 0 of 1.0分).
bool ContinuesANumber(std::string_view before);

bool IsAsciiLetter(char c);

// The length of the one of `marks` that starts (ends) `text`, or 0.
size_t MarkAt(std::string_view text, std::span<const std::string_view> marks);
size_t MarkBefore(std::string_view text, std::span<const std::string_view> marks);

// True when what ends `before` (starts `after`) makes a number next to it part of something
// larger: a digit or a letter, or one joined to it by a colon, a slash or a point (the 16 of
// v1.16, the 8 of 8:15, the 1 of 1/2).
bool GluedBefore(std::string_view before);
bool GluedAfter(std::string_view after);

// A number as texts write amounts and measures: digits, thousands set apart by commas (1,500,
// １，５００; every group of three) and a decimal part (36.5).
struct WrittenNumber {
  size_t bytes = 0;
  int value = 0;      // of the whole part; stops growing past 1,000,000
  size_t digits = 0;  // of the whole part, commas not counted
  bool whole = true;  // no decimal part
};
std::optional<WrittenNumber> WrittenNumberAt(std::string_view text);
// True when the number before `after` goes on into something larger (GluedAfter), or into a
// thousands group that is none (the 1 of 1,50).
bool NumberGoesOn(std::string_view after);

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

// The length of H, H:MM or H:MM:SS (colons ASCII or full-width) at the start of `text`, however
// it goes on (the 9 of 9am, the 12:00 of 12:00/14:00); 0 when no digit starts it.
size_t ClockDigitsAt(std::string_view text);

// The valid time (hours 0..23, minutes and seconds of two digits, 00..59; and 24:00, the end of
// a day) or date (a day of its
// month; 2/29 without a year) that starts `text`, where `before` is what precedes it. nullopt
// for anything else, and for a time or date that is part of something larger: next to a digit,
// a letter, a colon, a slash or a decimal point (16:9, 1:2:3, 10:15:99, 1/2/3, v1.8:15,
// /usr/share/4/29, 12:00.5).
std::optional<WrittenTimeOrDate> WrittenTimeOrDateAt(std::string_view before,
                                                     std::string_view text);

}  // namespace chimewell
