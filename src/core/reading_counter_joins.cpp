// What follows a number's counter, handed on so that the engine keeps the counter a word of its
// own: its dictionary holds words that begin with a counter (時の間 トキノマ) and reads a counter's
// suffix as it would after a noun (1日中 イチニチチュー). In kana, what follows is read as
// written and the counter after its number.
#include "core/reading_chars.h"
#include "core/reading_rules.h"
#include "core/reading_texts.h"
#include "core/written_numbers.h"

namespace chimewell {
namespace {

using reading_texts::CounterJoin;

bool EndsWithNumber(std::string_view text) {
  return DigitBefore(text).has_value() || MarkBefore(text, reading_texts::kNumberWords) > 0;
}

// The join of the counter that starts `text` after a number and what follows it, if any.
const CounterJoin* JoinAt(std::string_view before, std::string_view text) {
  if (!EndsWithNumber(before)) return nullptr;
  for (const CounterJoin& join : reading_texts::kCounterJoins) {
    if (!text.starts_with(join.counter)) continue;
    const std::string_view after = text.substr(join.counter.size());
    if (!after.starts_with(join.written)) continue;
    // Not when its last character begins a word of its own (1日中止, 10時の間隔).
    const size_t last = join.written.size() - CharBefore(join.written)->bytes;
    if (MarkAt(after.substr(last), reading_texts::kWordsAfterCounters) == 0) return &join;
  }
  return nullptr;
}

}  // namespace

std::string KeepCountersApart(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t at = 0; at < text.size();) {
    if (const CounterJoin* join = JoinAt(text.substr(0, at), text.substr(at))) {
      out.append(join->counter).append(join->handed_on);
      at += join->counter.size() + join->written.size();
    } else {
      out += text[at++];
    }
  }
  return out;
}

}  // namespace chimewell
