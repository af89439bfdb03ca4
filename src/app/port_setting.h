#pragma once
// The port panel's input rule.
#include <optional>
#include <string_view>

namespace chimewell {

// The port typed into the port panel, or nullopt when it is not a whole number in 1..65535.
std::optional<int> ParsePortInput(std::string_view text);

}  // namespace chimewell
