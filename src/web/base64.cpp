#include "web/base64.h"

namespace chimewell {
namespace {

int SextetOf(char c) {
  if (c >= 'A' && c <= 'Z') return c - 'A';
  if (c >= 'a' && c <= 'z') return c - 'a' + 26;
  if (c >= '0' && c <= '9') return c - '0' + 52;
  if (c == '+') return 62;
  if (c == '/') return 63;
  return -1;
}

}  // namespace

std::string DecodeBase64(std::string_view text) {
  std::string out;
  unsigned bits = 0;
  int bit_count = 0;
  for (char c : text) {
    if (c == '=') break;
    const int sextet = SextetOf(c);
    if (sextet < 0) continue;
    bits = (bits << 6) | static_cast<unsigned>(sextet);
    bit_count += 6;
    if (bit_count >= 8) {
      bit_count -= 8;
      out += static_cast<char>((bits >> bit_count) & 0xFF);
    }
  }
  return out;
}

}  // namespace chimewell
