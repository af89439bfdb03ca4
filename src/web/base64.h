#pragma once
// Base64 decoding for the credentials of a Basic Authorization header.
#include <string>
#include <string_view>

namespace chimewell {

// Decodes standard Base64; characters outside the alphabet are skipped and "=" ends the data.
std::string DecodeBase64(std::string_view text);

}  // namespace chimewell
