#pragma once
// Writing a user's text file back in the encoding it has, so that a file shared with the Windows
// program stays readable there.
#include <filesystem>
#include <string_view>

#include "core/text_encoding.h"

namespace chimewell {

// Replaces the file at `path` with `text` (UTF-8) in one step, in the encoding the file has
// now: CP932 stays CP932 unless the text has a character CP932 cannot hold, which the result
// then tells; anything else (a new file too) is written as UTF-8, a byte-order mark kept.
// Throws FileWriteError when the file cannot be written; the old file is then left as it was.
EncodingChange ReplaceTextFile(const std::filesystem::path& path, std::string_view text);

}  // namespace chimewell
