#include "core/ascii_text.h"

namespace chimewell {

char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

std::string AsciiLowerCopy(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = AsciiLower(c);
  return out;
}

std::string AsciiUpperCopy(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return out;
}

bool EqualsIgnoreAsciiCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
  }
  return true;
}

void ReplaceEvery(std::string& text, std::string_view token, std::string_view value,
                  bool ignore_case) {
  const std::string needle = ignore_case ? AsciiLowerCopy(token) : std::string(token);
  const std::string haystack = ignore_case ? AsciiLowerCopy(text) : text;
  std::string out;
  size_t from = 0;
  for (size_t at = haystack.find(needle); at != std::string::npos;
       at = haystack.find(needle, from)) {
    out.append(text, from, at - from);
    out += value;
    from = at + needle.size();
  }
  if (from == 0) return;  // nothing to replace
  out.append(text, from);
  text = std::move(out);
}

}  // namespace chimewell
