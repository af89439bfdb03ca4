#include "app/port_setting.h"

#include <charconv>

namespace chimewell {

std::optional<int> ParsePortInput(std::string_view text) {
  // Surrounding blanks are forgiven; anything else that is not a plain integer is -1.
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  long value = -1;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc{} || end != text.data() + text.size() || text.empty()) value = -1;
  if (value < 1 || value > 65535) return std::nullopt;
  return static_cast<int>(value);
}

}  // namespace chimewell
