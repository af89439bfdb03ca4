// Temperatures: a number with ℃, °C or ° as so many 度, and a minus before it as マイナス.
#include "core/reading_chars.h"
#include "core/reading_rules.h"
#include "core/reading_texts.h"
#include "core/written_numbers.h"

namespace chimewell {

using reading_texts::kDegree;
using reading_texts::kDegreeMarks;
using reading_texts::kMinusSigns;

std::optional<ReadItem> TemperatureAt(std::string_view before, std::string_view text) {
  // A minus sign after a digit or a letter is a dash (15-20℃, A-3℃); that one may be a range.
  const size_t minus = MarkAt(text, kMinusSigns);
  if (GluedBefore(before) || (minus > 0 && EndsWithLetter(before))) return std::nullopt;
  const auto number = WrittenNumberAt(text.substr(minus));
  if (!number) return std::nullopt;
  const size_t end = minus + number->bytes;
  const size_t blanks = BlanksAt(text.substr(end));
  const std::string_view after = text.substr(end + blanks);
  size_t mark = MarkAt(after, kDegreeMarks);
  // ° alone is no degree Celsius when F follows (°F), nor part of something it is glued to.
  if (mark > 0 && (MarkAt(after.substr(mark), reading_texts::kNotCelsius) > 0 ||
                   StartsWithLetter(after.substr(mark)))) {
    return std::nullopt;
  }
  // Written with 度 already, only the minus is read otherwise (-3度).
  if (mark == 0 && minus > 0 && blanks == 0 && after.starts_with(kDegree)) mark = kDegree.size();
  if (mark == 0) return std::nullopt;
  ReadItem item;
  item.kind = ReadKind::kTemperature;
  item.bytes = end + blanks + mark;
  if (minus > 0) item.spoken = reading_texts::kMinus;
  item.spoken.append(text.substr(minus, number->bytes)).append(kDegree);
  item.counter = kDegree;
  item.value = minus > 0 ? -number->value : number->value;
  item.single_digit = number->whole && number->digits == 1;
  return item;
}

}  // namespace chimewell
