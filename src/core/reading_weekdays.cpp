// Weekdays written with one character each, in lists (月・木, 土日祝, 月水金) and as the ends of
// ranges (月～金), read as a speaker says them: ゲツ・モク, ドニチシュク, ゲツからキン.
#include <vector>

#include "core/reading_chars.h"
#include "core/reading_rules.h"
#include "core/reading_texts.h"
#include "core/written_numbers.h"

namespace chimewell {
namespace {

using reading_texts::kListMarks;
using reading_texts::kWeekdays;

// One weekday or day off of a list or a range.
struct Element {
  size_t bytes = 0;
  int place = 0;  // in the week, 月 first and 祝 last
  bool abbreviated = false;
  std::string_view spoken;
};

constexpr int kHolidayPlace = static_cast<int>(std::size(kWeekdays)) - 1;

std::optional<Element> ElementAt(std::string_view text) {
  for (const std::string_view holiday : reading_texts::kHolidayWords) {
    if (text.starts_with(holiday)) return Element{holiday.size(), kHolidayPlace, false, holiday};
  }
  for (int place = 0; place < static_cast<int>(std::size(kWeekdays)); ++place) {
    const auto& [written, reading] = kWeekdays[place];
    if (!text.starts_with(written)) continue;
    if (const size_t suffix =
            MarkAt(text.substr(written.size()), reading_texts::kWeekdaySuffixes)) {
      const size_t bytes = written.size() + suffix;
      return Element{bytes, place, false, text.substr(0, bytes)};
    }
    return Element{written.size(), place, true, reading};
  }
  return std::nullopt;
}

// Whether a list or range may start after `before`: not inside a word (今月, 12月, 生年月日), nor
// after a list mark (年・月・日); after 週 (毎週月・木) and after a range mark it may.
bool StartsAWordAfter(std::string_view before) {
  const std::string_view trimmed = before.substr(0, before.size() - BlanksBefore(before));
  if (MarkBefore(trimmed, reading_texts::kTildes) > 0 ||
      MarkBefore(trimmed, reading_texts::kDashes) > 0) {
    return true;
  }
  if (DigitBefore(before) || EndsWithLetter(before) || MarkBefore(before, kListMarks) > 0) {
    return false;
  }
  return !EndsWithKanji(before) || MarkBefore(before, reading_texts::kWeekWords) > 0;
}

}  // namespace

std::optional<ReadItem> WeekdayAt(std::string_view before, std::string_view text) {
  if (!StartsAWordAfter(before)) return std::nullopt;
  const auto element = ElementAt(text);
  if (!element) return std::nullopt;
  ReadItem item;
  item.kind = ReadKind::kWeekday;
  item.bytes = element->bytes;
  item.spoken = element->spoken;
  item.value = element->place;
  return item;
}

std::optional<ReadItem> WeekdayListAt(std::string_view before, std::string_view text) {
  if (!StartsAWordAfter(before)) return std::nullopt;
  std::vector<Element> elements;
  const auto first = ElementAt(text);
  if (!first) return std::nullopt;
  elements.push_back(*first);
  std::string spoken(first->spoken);
  size_t bytes = first->bytes;
  bool marked = false;
  while (true) {
    const size_t mark = MarkAt(text.substr(bytes), kListMarks);
    const auto next = ElementAt(text.substr(bytes + mark));
    // Written together, the days go the week's way (土日, not 日月).
    if (!next || (mark == 0 && next->place <= elements.back().place)) break;
    spoken.append(text.substr(bytes, mark)).append(next->spoken);
    bytes += mark + next->bytes;
    marked = marked || mark > 0;
    elements.push_back(*next);
  }
  bool abbreviated = false;
  for (const Element& element : elements) abbreviated = abbreviated || element.abbreviated;
  if (elements.size() < 2 || !abbreviated) return std::nullopt;
  // A list that goes on with other words (火・水・風) is no list of days.
  const std::string_view after = text.substr(bytes);
  if (const size_t dot = MarkAt(after, reading_texts::kWordListMarks); dot > 0) {
    const auto next = CharAt(after.substr(dot));
    if (next && (IsKanji(next->code) || IsHiragana(next->code) || IsKatakana(next->code))) {
      return std::nullopt;
    }
  }
  if (elements.size() == 2) {
    const std::string_view written = text.substr(0, bytes);
    for (const std::string_view pair : reading_texts::kNotWeekdayPairs) {
      if (written == pair) return std::nullopt;
    }
    // Two characters that a word goes on from (月金額) may be a word of their own.
    if (!marked && elements.back().abbreviated && StartsWithKanji(after)) {
      return std::nullopt;
    }
    const auto& [month, day] = reading_texts::kNotWeekdayListPair;
    if (marked && text.starts_with(month) && written.ends_with(day) && elements[0].abbreviated &&
        elements[1].abbreviated) {
      return std::nullopt;
    }
  }
  return ReadItem{ReadKind::kWeekday, bytes, spoken, {}, elements.front().place, false};
}

size_t BracketedWeekdayAt(std::string_view text) {
  size_t bytes = MarkAt(text, reading_texts::kOpenBrackets);
  if (bytes == 0) return 0;
  const size_t open = bytes;
  for (bool first = true;; first = false) {
    const size_t mark = first ? 0 : MarkAt(text.substr(bytes), kListMarks);
    const auto element = ElementAt(text.substr(bytes + mark));
    if (!element) break;
    bytes += mark + element->bytes;
  }
  const size_t close = MarkAt(text.substr(bytes), reading_texts::kCloseBrackets);
  return close > 0 && bytes > open ? bytes + close : 0;
}

}  // namespace chimewell
