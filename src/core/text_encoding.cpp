#include "core/text_encoding.h"

#include <iconv.h>

#include <cerrno>
#include <cstdint>

#include "core/log.h"

namespace chimewell {
namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view kReplacementChar = "\xEF\xBF\xBD";  // U+FFFD
constexpr char kSavedAsUtf8[] =
    " に Shift-JIS (CP932) で書けない文字があるため、UTF-8 で保存しました";

// Length of the well-formed UTF-8 sequence at the start of `s`, or 0 when it is malformed.
size_t Utf8SequenceLength(std::string_view s) {
  const auto byte = [&s](size_t i) { return static_cast<uint8_t>(s[i]); };
  const auto continuation = [&](size_t i) { return i < s.size() && (byte(i) & 0xC0) == 0x80; };
  const uint8_t b0 = byte(0);
  if (b0 < 0x80) return 1;
  if (b0 >= 0xC2 && b0 <= 0xDF) return continuation(1) ? 2 : 0;
  if (b0 >= 0xE0 && b0 <= 0xEF) {
    if (!continuation(1) || !continuation(2)) return 0;
    if (b0 == 0xE0 && byte(1) < 0xA0) return 0;   // overlong
    if (b0 == 0xED && byte(1) >= 0xA0) return 0;  // UTF-16 surrogate
    return 3;
  }
  if (b0 >= 0xF0 && b0 <= 0xF4) {
    if (!continuation(1) || !continuation(2) || !continuation(3)) return 0;
    if (b0 == 0xF0 && byte(1) < 0x90) return 0;   // overlong
    if (b0 == 0xF4 && byte(1) >= 0x90) return 0;  // past U+10FFFF
    return 4;
  }
  return 0;
}

// One iconv conversion descriptor, closed when done.
class Converter {
 public:
  Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~Converter() {
    if (usable()) iconv_close(cd_);
  }
  // False when the C library has no converter for the encoding (its gconv modules missing).
  bool usable() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  // Converts as much of `in` as it can, appending to `out`; returns the bytes consumed.
  // Stops at the first byte sequence the source encoding does not know.
  size_t Convert(std::string_view in, std::string& out) {
    if (!usable()) return 0;
    char* in_ptr = const_cast<char*>(in.data());
    size_t in_left = in.size();
    char buffer[1024];
    while (in_left > 0) {
      char* out_ptr = buffer;
      size_t out_left = sizeof buffer;
      const size_t rc = iconv(cd_, &in_ptr, &in_left, &out_ptr, &out_left);
      out.append(buffer, static_cast<size_t>(out_ptr - buffer));
      if (rc == static_cast<size_t>(-1) && errno != E2BIG) break;
    }
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);  // reset the shift state
    return in.size() - in_left;
  }

 private:
  iconv_t cd_;
};

// How many well-formed multi-byte UTF-8 sequences and how many stray bytes the bytes hold.
struct Utf8Census {
  size_t multi_byte = 0;
  size_t stray = 0;
};

Utf8Census CountUtf8(std::string_view bytes) {
  Utf8Census census;
  while (!bytes.empty()) {
    const size_t n = Utf8SequenceLength(bytes);
    if (n == 0) {
      ++census.stray;
      bytes.remove_prefix(1);
    } else {
      if (n > 1) ++census.multi_byte;
      bytes.remove_prefix(n);
    }
  }
  return census;
}

// Whether bytes that are not all well-formed UTF-8 are still UTF-8 with a few stray bytes (an
// editor's slip, a cut copy) rather than CP932. Japanese CP932 text almost never forms
// well-formed multi-byte UTF-8 sequences: its lead bytes 0x81-0x9F are UTF-8 continuation bytes,
// and its kanji rarely continue as UTF-8 requires. So when such sequences outnumber the stray
// bytes, the file is UTF-8.
bool LooksLikeUtf8(const Utf8Census& census) { return census.multi_byte > census.stray; }

}  // namespace

bool IsValidUtf8(std::string_view bytes) {
  while (!bytes.empty()) {
    const size_t n = Utf8SequenceLength(bytes);
    if (n == 0) return false;
    bytes.remove_prefix(n);
  }
  return true;
}

std::string ToValidUtf8(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size());
  while (!bytes.empty()) {
    const size_t n = Utf8SequenceLength(bytes);
    if (n == 0) {
      out += kReplacementChar;
      bytes.remove_prefix(1);
    } else {
      out.append(bytes.substr(0, n));
      bytes.remove_prefix(n);
    }
  }
  return out;
}

std::string Cp932ToUtf8(std::string_view bytes) {
  Converter converter("UTF-8", "CP932");
  std::string out;
  out.reserve(bytes.size() * 3 / 2);
  while (!bytes.empty()) {
    bytes.remove_prefix(converter.Convert(bytes, out));
    if (bytes.empty()) break;
    // A byte CP932 does not know (or a lead byte cut off at the end): mark it and go on.
    // Without a converter at all, ASCII still comes through.
    if (static_cast<uint8_t>(bytes[0]) < 0x80) {
      out += bytes[0];
    } else {
      out += kReplacementChar;
    }
    bytes.remove_prefix(1);
  }
  return out;
}

std::optional<std::string> Utf8ToCp932(std::string_view text) {
  Converter converter("CP932", "UTF-8");
  std::string out;
  out.reserve(text.size());
  if (converter.Convert(text, out) != text.size()) return std::nullopt;
  return out;
}

bool HasUtf8Bom(std::string_view bytes) { return bytes.starts_with(kUtf8Bom); }

DecodedFile DecodeFile(std::string_view bytes) {
  DecodedFile file;
  file.bom = HasUtf8Bom(bytes);
  if (file.bom) bytes.remove_prefix(kUtf8Bom.size());
  // Every page request decodes the template, so well-formed text is taken in one pass.
  if (const Utf8Census census = CountUtf8(bytes); census.stray == 0) {
    file.text = std::string(bytes);
  } else if (LooksLikeUtf8(census)) {
    file.text = ToValidUtf8(bytes);
  } else {
    file.text = Cp932ToUtf8(bytes);
    file.encoding = FileEncoding::kCp932;
    file.bom = false;
  }
  return file;
}

std::string DecodeFileText(std::string_view bytes) { return DecodeFile(bytes).text; }

EncodedFile EncodeFile(std::string_view text, FileEncoding wanted, bool bom) {
  if (wanted == FileEncoding::kCp932) {
    if (auto cp932 = Utf8ToCp932(text)) return {std::move(*cp932)};
    return {ToValidUtf8(text), EncodingChange::kCp932BecameUtf8};
  }
  return {(bom ? std::string(kUtf8Bom) : std::string()) + ToValidUtf8(text)};
}

void LogEncodingChange(Log& log, std::string_view path, EncodingChange change) {
  if (change != EncodingChange::kCp932BecameUtf8) return;
  log.AddLogLine(std::string(path) + kSavedAsUtf8);
}

std::string_view Utf8Prefix(std::string_view text, size_t max_chars) {
  size_t pos = 0;
  for (size_t chars = 0; chars < max_chars && pos < text.size(); ++chars) {
    const size_t n = Utf8SequenceLength(text.substr(pos));
    pos += n == 0 ? 1 : n;  // a stray byte counts as one character
  }
  return text.substr(0, pos);
}

}  // namespace chimewell
