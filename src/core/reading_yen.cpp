// Yen written before an amount (¥1,500, ￥500) as that amount of 円.
#include "core/reading_chars.h"
#include "core/reading_rules.h"
#include "core/reading_texts.h"
#include "core/written_numbers.h"

namespace chimewell {

using reading_texts::kYen;

std::optional<ReadItem> YenAmountAt(std::string_view before, std::string_view text) {
  const size_t sign = MarkAt(text, reading_texts::kYenSigns);
  if (sign == 0 || EndsWithLetter(before) || DigitBefore(before)) return std::nullopt;
  const size_t blanks = BlanksAt(text.substr(sign));
  const std::string_view amount = text.substr(sign + blanks);
  const auto number = WrittenNumberAt(amount);
  if (!number) return std::nullopt;
  const size_t unit = MarkAt(amount.substr(number->bytes), reading_texts::kAmountUnits);
  const size_t length = number->bytes + unit;
  std::string_view after = amount.substr(length);
  size_t end = 0;
  if (after.starts_with(kYen)) {
    end = kYen.size();  // ¥500円: the yen are said once
  } else if (const size_t dash = MarkAt(after, reading_texts::kAmountEnds);
             dash > 0 && !DigitAt(after.substr(dash))) {
    end = dash;  // ¥1,500-
  } else if (NumberGoesOn(after)) {
    return std::nullopt;  // ¥1.2.3, ¥12ab, ¥1,50
  }
  ReadItem item;
  item.kind = ReadKind::kAmount;
  item.bytes = sign + blanks + length + end;
  item.spoken = std::string(amount.substr(0, length)).append(kYen);
  item.counter = kYen;
  item.value = number->value;
  item.single_digit = number->whole && number->digits == 1;
  return item;
}

}  // namespace chimewell
