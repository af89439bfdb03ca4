#pragma once
// Text encodings of the user's files: UTF-8 checks and the CP932 (Shift-JIS) fallback.
#include <cstddef>
#include <optional>
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

// Converts UTF-8 to CP932; nullopt when the text holds a character CP932 has not (or is not
// well-formed UTF-8).
std::optional<std::string> Utf8ToCp932(std::string_view text);

// The encodings a user's file is read in and written back in.
enum class FileEncoding { kUtf8, kCp932 };

struct DecodedFile {
  std::string text;  // UTF-8
  FileEncoding encoding = FileEncoding::kUtf8;
  bool bom = false;  // a UTF-8 file that starts with a byte-order mark
};

// The text of a file as UTF-8, and the encoding it was found in. UTF-8 stays as it is (a
// leading byte-order mark is dropped). Text that is mostly well-formed UTF-8 with a few stray
// bytes is UTF-8 too, with only those bytes replaced by U+FFFD. Anything else is taken to be
// CP932, the encoding of files written on Japanese Windows.
DecodedFile DecodeFile(std::string_view bytes);
// DecodeFile's text alone.
std::string DecodeFileText(std::string_view bytes);

// Whether saving a file kept the encoding it was read in.
enum class EncodingChange { kNone, kCp932BecameUtf8 };

// The bytes of a file to be written: `text` (UTF-8) in `wanted` (a byte-order mark first when
// `bom`); as UTF-8 when CP932 cannot hold it, which `change` then tells.
struct EncodedFile {
  std::string bytes;
  EncodingChange change = EncodingChange::kNone;
};
EncodedFile EncodeFile(std::string_view text, FileEncoding wanted, bool bom = false);

class Log;
// Tells in `log` that the file at `path` was saved as UTF-8 instead of CP932, when it was.
void LogEncodingChange(Log& log, std::string_view path, EncodingChange change);

// True when `bytes` starts with the UTF-8 byte-order mark.
bool HasUtf8Bom(std::string_view bytes);

// The longest prefix of UTF-8 `text` with at most `max_chars` code points; never splits one.
std::string_view Utf8Prefix(std::string_view text, size_t max_chars);

}  // namespace chimewell
