#include "web/form_fields.h"

#include <cstdint>
#include <limits>

#include "web/param_decoding.h"

namespace chimewell {

bool IsPresent(const std::vector<std::string>& params, std::string_view name) {
  return !GetParam(params, name).empty();
}

int FormInteger(std::string_view text, int fallback) {
  bool negative = false;
  if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
    negative = text[0] == '-';
    text.remove_prefix(1);
  }
  if (text.empty()) return fallback;
  int64_t value = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return fallback;
    value = value * 10 + (c - '0');
    if (value > int64_t{std::numeric_limits<int>::max()} + 1) return fallback;
  }
  if (negative) value = -value;
  if (value > std::numeric_limits<int>::max()) return fallback;
  return static_cast<int>(value);
}

}  // namespace chimewell
