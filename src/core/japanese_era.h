#pragma once
// The Japanese imperial eras from 明治 on, and the era year of a date.
#include <optional>
#include <string_view>

namespace chimewell {

struct EraYear {
  std::string_view name;  // e.g. "平成"
  int year;               // year within the era, 1 for the first (partial) year
};

// The era and era year of a Gregorian date; nullopt before 明治 began (1868-10-23).
std::optional<EraYear> JapaneseEraYear(int year, int month, int day);

// True when `text` ends with the name of one of these eras.
bool EndsWithEraName(std::string_view text);

}  // namespace chimewell
