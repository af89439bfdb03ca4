#pragma once
// ASCII letter-case folding and token replacement in UTF-8 text (other characters untouched).
#include <string>
#include <string_view>

namespace chimewell {

char AsciiLower(char c);
// A copy with ASCII letters lower-cased; the bytes of other UTF-8 characters are all >= 0x80.
std::string AsciiLowerCopy(std::string_view text);
std::string AsciiUpperCopy(std::string_view text);
bool EqualsIgnoreAsciiCase(std::string_view a, std::string_view b);

// Replaces every occurrence of `token` in `text`, exactly or (with `ignore_case`) in any ASCII
// letter case. Replacement text is never searched again.
void ReplaceEvery(std::string& text, std::string_view token, std::string_view value,
                  bool ignore_case);

}  // namespace chimewell
