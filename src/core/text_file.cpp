#include "core/text_file.h"

#include "core/atomic_file.h"
#include "core/bounded_file.h"

namespace chimewell {

EncodingChange ReplaceTextFile(const std::filesystem::path& path, std::string_view text) {
  DecodedFile now;
  if (const auto bytes = ReadRegularFile(path.string(), FileKind::kScript))
    now = DecodeFile(*bytes);
  const EncodedFile encoded = EncodeFile(text, now.encoding, now.bom);
  ReplaceFile(path, encoded.bytes);
  return encoded.change;
}

}  // namespace chimewell
