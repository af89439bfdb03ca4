#pragma once
// Trimming of header and parameter text in the HTTP code.
#include <string>
#include <string_view>

namespace chimewell {

// Strips blanks and control characters (every byte up to and including the space) at both ends.
std::string_view TrimBlanksAndControls(std::string_view text);

}  // namespace chimewell
