#include "app/port_setting.h"

#include "core/number_text.h"

namespace chimewell {

std::optional<int> ParsePortInput(std::string_view text) {
  // Surrounding blanks are forgiven; anything else that is not a plain integer is -1.
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  const int value = ParseDecimalInteger(text).value_or(-1);
  if (value < 1 || value > 65535) return std::nullopt;
  return value;
}

}  // namespace chimewell
