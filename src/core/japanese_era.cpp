#include "core/japanese_era.h"

#include <array>

namespace chimewell {
namespace {

struct Era {
  std::string_view name;
  int year, month, day;  // first day of the era (Gregorian)
};

// Newest first, so the first era that has begun by a date is its era.
constexpr std::array<Era, 5> kEras = {{
    {"令和", 2019, 5, 1},
    {"平成", 1989, 1, 8},
    {"昭和", 1926, 12, 25},
    {"大正", 1912, 7, 30},
    {"明治", 1868, 10, 23},
}};

}  // namespace

std::optional<EraYear> JapaneseEraYear(int year, int month, int day) {
  const int date = (year * 100 + month) * 100 + day;
  for (const Era& era : kEras) {
    if (date >= (era.year * 100 + era.month) * 100 + era.day) {
      return EraYear{era.name, year - era.year + 1};
    }
  }
  return std::nullopt;
}

bool EndsWithEraName(std::string_view text) {
  for (const Era& era : kEras) {
    if (text.ends_with(era.name)) return true;
  }
  return false;
}

}  // namespace chimewell
