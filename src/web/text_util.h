#pragma once
// Small byte-string helpers of the HTTP code: ASCII case folding and trimming.
#include <string>
#include <string_view>

namespace chimewell {

bool EqualsIgnoreAsciiCase(std::string_view a, std::string_view b);
std::string ToUpperAscii(std::string_view text);
// Strips blanks and control characters (every byte up to and including the space) at both ends.
std::string_view TrimBlanksAndControls(std::string_view text);

}  // namespace chimewell
