#pragma once
// Whole numbers written in decimal, as settings, forms and panels take them.
#include <optional>
#include <string_view>

namespace chimewell {

// An optional "+" or "-", then ASCII digits and nothing else, within the range of int.
std::optional<int> ParseDecimalInteger(std::string_view text);

}  // namespace chimewell
