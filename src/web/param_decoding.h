#pragma once
// Decoding of form parameters ("a=1&b=x+y%21") and the case-insensitive lookup of one of them.
#include <optional>
#include <string>
#include <string_view>

#include "core/line_list.h"

namespace chimewell {

// Decoded "name=value" lines in order of appearance.
using DecodedParams = LineList;

// Decodes one piece: "+" becomes a space, "%hh" the byte hh (the value 0 or a pair that is not
// hexadecimal gives nothing; the "%" and up to two following characters are consumed either way).
std::string DecodeParamPiece(std::string_view piece);

// Cuts the text at every "&" and decodes each piece into one line, empty pieces included.
DecodedParams DecodeParams(std::string_view unparsed);

// The value of the first line whose name (text before its first "=") equals `name` without
// regard to ASCII letter case; everything after that "=". Empty when there is no such line.
std::string GetParam(const DecodedParams& param_list, std::string_view name);
// The same, or nullopt when no line has that name (a field not sent, not one sent empty).
std::optional<std::string> FindParam(const DecodedParams& param_list, std::string_view name);

}  // namespace chimewell
