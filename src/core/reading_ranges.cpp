// Ranges: two items with a range mark between them read with から (9:00～17:00, 5～10分, 月～金,
// 2～3日 as a span), まで after a range of times or dates that a word follows, and open ranges
// (18:00～ with から, ～17:00 with まで).
#include <algorithm>
#include <span>

#include "core/reading_chars.h"
#include "core/reading_rules.h"
#include "core/reading_texts.h"
#include "core/time_words.h"
#include "core/written_numbers.h"

namespace chimewell {
namespace {

using reading_texts::kDashes;
using reading_texts::kFrom;
using reading_texts::kTildes;
using reading_texts::kUntil;

constexpr int kLastHour = 24;
constexpr int kLastMonth = 12;
constexpr int kLastDay = 31;

// What one end of a range is, for telling which ends go together.
enum class Group { kNumber, kCount, kTime, kDay, kAmount, kTemperature, kWeekday };

bool Among(std::string_view word, std::span<const std::string_view> words) {
  return std::find(words.begin(), words.end(), word) != words.end();
}

Group GroupOf(const ReadItem& item) {
  switch (item.kind) {
    case ReadKind::kNumber:
      return Group::kNumber;
    case ReadKind::kTime:
      return Group::kTime;
    case ReadKind::kDate:
      return Group::kDay;
    case ReadKind::kAmount:
      return Group::kAmount;
    case ReadKind::kTemperature:
      return Group::kTemperature;
    case ReadKind::kWeekday:
      return Group::kWeekday;
    case ReadKind::kCount:
      break;
  }
  if (item.counter == time_words::kDay && item.value >= 1 && item.value <= kLastDay) {
    return Group::kDay;
  }
  if (item.counter.ends_with(reading_texts::kYen)) return Group::kAmount;
  return Group::kCount;
}

// `before` and the first `length` bytes of `text` after it, when the two are parts of one text
// (as the rules are called); else those bytes alone.
std::string_view Through(std::string_view before, std::string_view text, size_t length) {
  if (before.empty() || before.data() + before.size() != text.data()) {
    return text.substr(0, length);
  }
  return {before.data(), before.size() + length};
}

// The item of a range's end that starts `text`, in the order the rules are tried.
std::optional<ReadItem> EndAt(std::string_view before, std::string_view text) {
  if (auto item = AmPmTimeAt(before, text)) return item;
  if (auto item = TemperatureAt(before, text)) return item;
  if (auto item = YenAmountAt(before, text)) return item;
  if (auto item = TimeOrDateAt(before, text)) return item;
  if (auto item = WeekdayAt(before, text)) return item;
  return NumberOrCountAt(before, text);
}

// A weekday in brackets after a date or a day, kept with it (4/29(水)～5/5(火)).
size_t WeekdayAfter(const ReadItem& item, std::string_view after) {
  return GroupOf(item) == Group::kDay ? BracketedWeekdayAt(after) : 0;
}

// In the middle of a chain of dashes (03-1234-5678, 1-2-3): no range.
bool DashChainBefore(std::string_view before) {
  const size_t dash = MarkBefore(before, kDashes);
  if (dash == 0) return false;
  const std::string_view rest = before.substr(0, before.size() - dash);
  return DigitBefore(rest) || EndsWithLetter(rest);
}

bool DashChainAfter(std::string_view after) {
  const size_t dash = MarkAt(after, kDashes);
  return dash > 0 && (DigitAt(after.substr(dash)) || StartsWithLetter(after.substr(dash)));
}

// Two neighbouring numbers with a counter of a count, read as a span: 2～3日 ニサンニチ, 4-5人
// シゴニン. Not days of a month (5月2～3日).
std::optional<std::string> Span(const ReadItem& first, const ReadItem& second,
                                std::string_view before) {
  const int n = first.value;
  if (!first.single_digit || !second.single_digit || second.value != n + 1 || n < 1 ||
      n >= static_cast<int>(std::size(reading_texts::kApproximateFirst)) ||
      !Among(second.counter, reading_texts::kApproximateCounters)) {
    return std::nullopt;
  }
  if (n == 1 && Among(second.counter, reading_texts::kOwnWordsForOneAndTwo)) return std::nullopt;
  const bool days =
      second.counter == time_words::kDay || second.counter == reading_texts::kDaysCounter;
  const std::string_view trimmed = before.substr(0, before.size() - BlanksBefore(before));
  if (days && trimmed.ends_with(time_words::kMonth)) return std::nullopt;
  std::string spoken(reading_texts::kApproximateFirst[n]);
  spoken += reading_texts::kApproximateJoint;
  if (!days) return spoken.append(second.spoken);
  spoken += reading_texts::kApproximateDays[second.value];
  if (second.counter == reading_texts::kDaysCounter) spoken += reading_texts::kApproximateDaysSpan;
  return spoken;
}

// A number before the range mark takes the counter of the count after it (5～10分 as 5分から
// 10分); a dash makes a range only of rising numbers (3-5人, not 2-1組 nor 12-0時).
std::optional<std::string> NumberToCount(const ReadItem& first, const ReadItem& second, bool dash,
                                         std::string_view before) {
  const std::string_view counter = second.counter;
  if (counter.empty()) return std::nullopt;  // 9～11am: whose AM would it be?
  if (dash && (first.value >= second.value || Among(counter, reading_texts::kTildeOnlyCounters))) {
    return std::nullopt;
  }
  // A first number its counter cannot have (25～26時, 0～3月).
  const auto within = [&first](int least, int most) {
    return first.value >= least && first.value <= most;
  };
  if ((counter == time_words::kHour && !within(0, kLastHour)) ||
      (counter == time_words::kMonth && !within(1, kLastMonth)) ||
      (counter == time_words::kDay && !within(1, kLastDay))) {
    return std::nullopt;
  }
  if (auto span = Span(first, second, before)) return span;
  std::string spoken = first.spoken;
  return spoken.append(counter).append(kFrom).append(second.spoken);
}

// The range of `first` and `second` as it is read, or nullopt when they make none.
std::optional<std::string> Range(const ReadItem& first, const ReadItem& second, bool dash,
                                 bool negative, std::string_view before) {
  const Group a = GroupOf(first), b = GroupOf(second);
  if (negative) {  // -5～3℃: only a temperature has a minus
    if (b != Group::kTemperature || dash) return std::nullopt;
    std::string spoken(reading_texts::kMinus);
    return spoken.append(first.spoken)
        .append(reading_texts::kDegree)
        .append(kFrom)
        .append(second.spoken);
  }
  if (a == Group::kNumber) {
    if (b == Group::kTemperature || (b == Group::kAmount && second.kind == ReadKind::kAmount)) {
      if (dash && first.value >= second.value) return std::nullopt;
      const std::string_view unit =
          b == Group::kTemperature ? reading_texts::kDegree : reading_texts::kYen;
      return first.spoken + std::string(unit) + std::string(kFrom) + second.spoken;
    }
    if (second.kind != ReadKind::kCount && second.kind != ReadKind::kTime) return std::nullopt;
    return NumberToCount(first, second, dash, before);
  }
  if (a == Group::kAmount && b == Group::kNumber) {  // ¥500～1,000
    if (dash && first.value >= second.value) return std::nullopt;
    return first.spoken + std::string(kFrom) + second.spoken + std::string(reading_texts::kYen);
  }
  // With a tilde, counts of two counters make a range too (30分～1時間, 3か月～1年).
  if (first.kind == ReadKind::kCount && second.kind == ReadKind::kCount && !dash) {
    return first.spoken + std::string(kFrom) + second.spoken;
  }
  if (a != b) return std::nullopt;
  if (a == Group::kCount) {
    if (first.counter != second.counter) return std::nullopt;
    if (dash &&
        (first.value >= second.value || Among(first.counter, reading_texts::kTildeOnlyCounters))) {
      return std::nullopt;
    }
  }
  return first.spoken + std::string(kFrom) + second.spoken;
}

// Whether a speaker says まで after a range of times or dates: when, after a blank, a word goes
// on (9:00～17:00 会議); not before a particle (～10:00の間), a mark, or the end.
bool UntilAfter(const ReadItem& first, const ReadItem& second, std::string_view after) {
  const Group a = GroupOf(first), b = GroupOf(second);
  if ((a != Group::kTime && a != Group::kDay && a != Group::kNumber) ||
      (b != Group::kTime && b != Group::kDay)) {
    return false;
  }
  if (MarkAt(after, reading_texts::kUntilWritten) > 0) return false;
  const size_t blanks = BlanksAt(after);
  const std::string_view next = after.substr(blanks);
  const auto c = CharAt(next);
  if (blanks == 0 || !c) return false;
  return IsKanji(c->code) || IsHiragana(c->code) || IsKatakana(c->code) || IsLetter(c->code) ||
         DigitAt(next);
}

}  // namespace

std::optional<ReadItem> RangeAt(std::string_view before, std::string_view text) {
  auto first = EndAt(before, text);
  bool negative = false;
  if (!first) {
    const size_t sign = MarkAt(text, reading_texts::kMinusSigns);
    if (sign == 0 || GluedBefore(before) || EndsWithLetter(before)) return std::nullopt;
    first = NumberOrCountAt(Through(before, text, sign), text.substr(sign));
    if (!first || first->kind != ReadKind::kNumber) return std::nullopt;
    first->bytes += sign;
    negative = true;
  }
  size_t at = first->bytes;
  const size_t first_weekday = WeekdayAfter(*first, text.substr(at));
  std::string first_spoken = first->spoken;
  first_spoken += text.substr(at, first_weekday);
  at += first_weekday;
  at += BlanksAt(text.substr(at));
  const size_t tilde = MarkAt(text.substr(at), kTildes);
  const size_t dash = tilde > 0 ? 0 : MarkAt(text.substr(at), kDashes);
  if (tilde + dash == 0) return std::nullopt;
  if (dash > 0 && DashChainBefore(before)) return std::nullopt;
  const size_t mark_end = at + tilde + dash;
  const size_t second_at = mark_end + BlanksAt(text.substr(mark_end));
  const auto second = EndAt(Through(before, text, second_at), text.substr(second_at));
  if (!second) {
    // An open range after an item (18:00～ 新年会, 1,000円～): only with a tilde, and not when
    // a number follows that is no item of its own (5人～10).
    const Group a = GroupOf(*first);
    const std::string_view rest = text.substr(second_at);
    if (tilde == 0 || negative || a == Group::kNumber || a == Group::kWeekday || DigitAt(rest) ||
        StartsWithLetter(rest)) {
      return std::nullopt;
    }
    return ReadItem{first->kind, mark_end, first_spoken + std::string(kFrom), {}, 0, false};
  }
  ReadItem ends = *first;
  ends.spoken = first_spoken;
  const auto range = Range(ends, *second, dash > 0, negative, before);
  if (!range) return std::nullopt;
  size_t end = second_at + second->bytes;
  const size_t second_weekday = WeekdayAfter(*second, text.substr(end));
  std::string spoken = *range;
  spoken += text.substr(end, second_weekday);
  end += second_weekday;
  if (dash > 0 && DashChainAfter(text.substr(end))) return std::nullopt;
  if (UntilAfter(*first, *second, text.substr(end))) spoken += kUntil;
  return ReadItem{second->kind, end, spoken, {}, 0, false};
}

std::optional<ReadItem> RangeUntilAt(std::string_view before, std::string_view text) {
  const size_t tilde = MarkAt(text, kTildes);
  if (tilde == 0) return std::nullopt;
  // Not after a number, a word of letters or an item that was no range's first end (5人～).
  const std::string_view trimmed = before.substr(0, before.size() - BlanksBefore(before));
  if (trimmed.size() == before.size() &&
      (DigitBefore(before) || EndsWithLetter(before) || MarkBefore(before, kTildes) > 0 ||
       (EndsWithKanji(before) &&
        DigitBefore(before.substr(0, before.size() - CharBefore(before)->bytes))))) {
    return std::nullopt;
  }
  const size_t at = tilde + BlanksAt(text.substr(tilde));
  const auto end = EndAt(Through(before, text, at), text.substr(at));
  if (!end || end->kind == ReadKind::kNumber || end->kind == ReadKind::kWeekday) {
    return std::nullopt;
  }
  size_t bytes = at + end->bytes;
  const size_t weekday = WeekdayAfter(*end, text.substr(bytes));
  std::string spoken = end->spoken;
  spoken += text.substr(bytes, weekday);
  bytes += weekday;
  if (MarkAt(text.substr(bytes), reading_texts::kUntilWritten) == 0) spoken += kUntil;
  return ReadItem{end->kind, bytes, spoken, {}, 0, false};
}

}  // namespace chimewell
