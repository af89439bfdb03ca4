#pragma once
// Escaping of text placed into an HTML page, so that it shows as text and never as markup.
#include <string>
#include <string_view>

namespace chimewell {

// Replaces & < > " ' by their character references; every other byte stays as it is.
std::string HtmlEscape(std::string_view text);

}  // namespace chimewell
