#pragma once
// Text encodings of the user's files: UTF-8 checks and the CP932 (Shift-JIS) fallback.
#include <cstddef>
#include <string>
#include <string_view>

namespace chimewell {

// True when `bytes` is well-formed UTF-8 (no overlong forms, surrogates or values past U+10FFFF).
bool IsValidUtf8(std::string_view bytes);

// `bytes` with every malformed UTF-8 sequence replaced by U+FFFD.
std::string ToValidUtf8(std::string_view bytes);

// Converts CP932 (Windows Shift-JIS) to UTF-8. Bytes that are not CP932 become U+FFFD, so any
// input gives well-formed UTF-8.
std::string Cp932ToUtf8(std::string_view bytes);

// The text of a file as UTF-8: UTF-8 stays as it is (a leading byte-order mark is dropped);
// anything else is taken to be CP932, the encoding of files written on Japanese Windows.
std::string DecodeFileText(std::string_view bytes);

// True when `bytes` starts with the UTF-8 byte-order mark.
bool HasUtf8Bom(std::string_view bytes);

// The longest prefix of UTF-8 `text` with at most `max_chars` code points; never splits one.
std::string_view Utf8Prefix(std::string_view text, size_t max_chars);

}  // namespace chimewell
