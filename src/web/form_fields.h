#pragma once
// Reading the configuration page's form fields: presence and whole numbers.
#include <string>
#include <string_view>
#include <vector>

#include "web/param_decoding.h"

namespace chimewell {

// A field is present when it was sent with a non-empty value; an empty value counts as absent.
bool IsPresent(const DecodedParams& params, std::string_view name);

// A whole decimal number (an optional sign, then digits, nothing else) that fits an int;
// anything else gives `fallback`.
int FormInteger(std::string_view text, int fallback);

}  // namespace chimewell
