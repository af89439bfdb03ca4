#pragma once
// The characters around what the reading rules recognise: which script a character is of, read
// from UTF-8 that may be malformed (a malformed byte is no character of any script).
#include <cstddef>
#include <optional>
#include <string_view>

namespace chimewell {

struct Utf8Char {
  char32_t code = 0;
  size_t bytes = 0;
};

// The well-formed UTF-8 character that starts (ends) `text`; nullopt when there is none.
std::optional<Utf8Char> CharAt(std::string_view text);
std::optional<Utf8Char> CharBefore(std::string_view text);

// Kanji, with 々 and 〆; hiragana; katakana with ー; letters, ASCII or full-width.
bool IsKanji(char32_t c);
bool IsHiragana(char32_t c);
bool IsKatakana(char32_t c);
bool IsLetter(char32_t c);

// Whether `text` starts (ends) with a character of that kind.
bool StartsWithKanji(std::string_view text);
bool EndsWithKanji(std::string_view text);
bool StartsWithLetter(std::string_view text);
bool EndsWithLetter(std::string_view text);
bool StartsWithKatakana(std::string_view text);

// How many bytes of blanks (ASCII, ideographic, tab) start `text`.
size_t BlanksAt(std::string_view text);
// How many bytes of blanks end `text`.
size_t BlanksBefore(std::string_view text);

}  // namespace chimewell
