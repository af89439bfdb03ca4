#include "web/param_decoding.h"

#include <algorithm>
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

// "+" is a space before "%" is looked at, so "%2+" is not the pair "2 ".
char PlusAsSpace(char c) { return c == '+' ? ' ' : c; }

void AppendDecoded(std::string& out, std::string_view piece) {
  size_t i = 0;
  while (i < piece.size()) {
    if (piece[i] != '%') {
      out += PlusAsSpace(piece[i++]);
      continue;
    }
    char digits[2];
    const size_t count = std::min<size_t>(2, piece.size() - i - 1);
    for (size_t k = 0; k < count; ++k) digits[k] = PlusAsSpace(piece[i + 1 + k]);
    i += 1 + count;
    const auto value = HexValue(std::string_view(digits, count));
    if (value && *value != 0) out += static_cast<char>(*value);
  }
}

}  // namespace

std::string DecodeParamPiece(std::string_view piece) {
  std::string out;
  out.reserve(piece.size());
  AppendDecoded(out, piece);
  return out;
}

DecodedParams DecodeParams(std::string_view unparsed) {
  DecodedParams lines;
  if (unparsed.empty()) return lines;
  // Exact sizes up front: decoding never lengthens a piece, and no buffer doubles past need.
  lines.Reserve(static_cast<size_t>(std::count(unparsed.begin(), unparsed.end(), '&')) + 1,
                unparsed.size());
  size_t start = 0;
  while (true) {
    const size_t amp = unparsed.find('&', start);
    AppendDecoded(lines.OpenLine(), unparsed.substr(start, amp - start));
    lines.CloseLine();
    if (amp == std::string_view::npos) break;
    start = amp + 1;
  }
  return lines;
}

std::optional<std::string> FindParam(const DecodedParams& param_list, std::string_view name) {
  for (const std::string_view line : param_list) {
    const size_t eq = line.find('=');
    if (eq == std::string_view::npos) continue;
    if (EqualsIgnoreAsciiCase(line.substr(0, eq), name)) return std::string(line.substr(eq + 1));
  }
  return std::nullopt;
}

std::string GetParam(const DecodedParams& param_list, std::string_view name) {
  return FindParam(param_list, name).value_or(std::string());
}

}  // namespace chimewell
