#include "core/reading_chars.h"

#include "core/reading_texts.h"
#include "core/written_numbers.h"

namespace chimewell {
namespace {

constexpr size_t kLongestChar = 4;

bool IsContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

}  // namespace

std::optional<Utf8Char> CharAt(std::string_view text) {
  if (text.empty()) return std::nullopt;
  const auto lead = static_cast<unsigned char>(text[0]);
  if (lead < 0x80) return Utf8Char{lead, 1};
  size_t bytes = 0;
  char32_t code = 0;
  if (lead >= 0xC2 && lead <= 0xDF) {
    bytes = 2;
    code = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    bytes = 3;
    code = lead & 0x0F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    bytes = 4;
    code = lead & 0x07;
  } else {
    return std::nullopt;
  }
  if (text.size() < bytes) return std::nullopt;
  for (size_t i = 1; i < bytes; ++i) {
    const auto byte = static_cast<unsigned char>(text[i]);
    if (!IsContinuation(byte)) return std::nullopt;
    code = (code << 6) | (byte & 0x3F);
  }
  // No overlong forms, surrogates or values past U+10FFFF.
  const bool overlong = (bytes == 3 && code < 0x800) || (bytes == 4 && code < 0x10000);
  if (overlong || (code >= 0xD800 && code <= 0xDFFF) || code > 0x10FFFF) return std::nullopt;
  return Utf8Char{code, bytes};
}

std::optional<Utf8Char> CharBefore(std::string_view text) {
  for (size_t bytes = 1; bytes <= kLongestChar && bytes <= text.size(); ++bytes) {
    const auto byte = static_cast<unsigned char>(text[text.size() - bytes]);
    if (IsContinuation(byte)) continue;
    const auto found = CharAt(text.substr(text.size() - bytes));
    return found && found->bytes == bytes ? found : std::nullopt;
  }
  return std::nullopt;
}

bool IsKanji(char32_t c) {
  return (c >= 0x4E00 && c <= 0x9FFF) || (c >= 0x3400 && c <= 0x4DBF) ||
         (c >= 0xF900 && c <= 0xFAFF) || (c >= 0x20000 && c <= 0x2FFFF) || c == 0x3005 ||
         c == 0x3006;
}

bool IsHiragana(char32_t c) { return c >= 0x3041 && c <= 0x309F; }

bool IsKatakana(char32_t c) { return (c >= 0x30A1 && c <= 0x30FF) || (c >= 0xFF66 && c <= 0xFF9F); }

bool IsLetter(char32_t c) {
  return (c < 0x80 && IsAsciiLetter(static_cast<char>(c))) || (c >= 0xFF21 && c <= 0xFF3A) ||
         (c >= 0xFF41 && c <= 0xFF5A);
}

bool StartsWithKanji(std::string_view text) {
  const auto c = CharAt(text);
  return c && IsKanji(c->code);
}

bool EndsWithKanji(std::string_view text) {
  const auto c = CharBefore(text);
  return c && IsKanji(c->code);
}

bool StartsWithLetter(std::string_view text) {
  const auto c = CharAt(text);
  return c && IsLetter(c->code);
}

bool EndsWithLetter(std::string_view text) {
  const auto c = CharBefore(text);
  return c && IsLetter(c->code);
}

bool StartsWithKatakana(std::string_view text) {
  const auto c = CharAt(text);
  return c && IsKatakana(c->code);
}

size_t BlanksAt(std::string_view text) {
  size_t length = 0;
  while (const size_t blank = MarkAt(text.substr(length), reading_texts::kBlanks)) length += blank;
  return length;
}

size_t BlanksBefore(std::string_view text) {
  size_t length = 0;
  while (const size_t blank =
             MarkBefore(text.substr(0, text.size() - length), reading_texts::kBlanks)) {
    length += blank;
  }
  return length;
}

}  // namespace chimewell
