#pragma once
// A refused edit's problems as the page lists them: a heading and the first of them.
#include <string>
#include <string_view>
#include <vector>

#include "core/line_list.h"

namespace chimewell {

// `heading`, then each problem (plain text, escaped here) on a line of its own; past the first
// twenty only their number, since a pasted file of junk would otherwise bury the page.
std::string ProblemListHtml(std::string_view heading, const std::vector<std::string>& problems);

// The lines of a text area as sent, cut at CR LF, LF or CR and made valid UTF-8 (what is kept
// and saved is UTF-8; a stray byte would make the file read as CP932).
LineList TextAreaLines(std::string_view sent);

}  // namespace chimewell
