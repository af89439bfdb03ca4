#include "web/param_decoding.h"

#include <optional>

#include "core/ascii_text.h"

namespace chimewell {
namespace {

std::optional<int> HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return std::nullopt;
}

// The value of up to two hex digits; nullopt when any of them is not one.
std::optional<int> HexValue(std::string_view digits) {
  if (digits.empty()) return std::nullopt;
  int value = 0;
  for (char c : digits) {
    const auto d = HexDigit(c);
    if (!d) return std::nullopt;
    value = value * 16 + *d;
  }
  return value;
}

}  // namespace

std::string DecodeParamPiece(std::string_view piece) {
  std::string plus_decoded(piece);
  for (char& c : plus_decoded) {
    if (c == '+') c = ' ';
  }
  std::string out;
  out.reserve(plus_decoded.size());
  std::string_view text = plus_decoded;
  size_t i = 0;
  while (i < text.size()) {
    if (text[i] != '%') {
      out += text[i++];
      continue;
    }
    const std::string_view digits = text.substr(i + 1, 2);
    i += 1 + digits.size();
    const auto value = HexValue(digits);
    if (value && *value != 0) out += static_cast<char>(*value);
  }
  return out;
}

std::vector<std::string> DecodeParams(std::string_view unparsed) {
  std::vector<std::string> lines;
  if (unparsed.empty()) return lines;
  size_t start = 0;
  while (true) {
    const size_t amp = unparsed.find('&', start);
    lines.push_back(DecodeParamPiece(unparsed.substr(start, amp - start)));
    if (amp == std::string_view::npos) break;
    start = amp + 1;
  }
  return lines;
}

std::string GetParam(const std::vector<std::string>& param_list, std::string_view name) {
  for (const std::string& line : param_list) {
    const size_t eq = line.find('=');
    if (eq == std::string::npos) continue;
    if (EqualsIgnoreAsciiCase(std::string_view(line).substr(0, eq), name)) {
      return line.substr(eq + 1);
    }
  }
  return {};
}

}  // namespace chimewell
