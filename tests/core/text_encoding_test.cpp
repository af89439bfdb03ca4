#include "core/text_encoding.h"

#include <gtest/gtest.h>

namespace chimewell {
namespace {

TEST(TextEncoding, RecognisesWellFormedUtf8Only) {
  EXPECT_TRUE(IsValidUtf8(""));
  EXPECT_TRUE(IsValidUtf8("ascii [hour]"));
  EXPECT_TRUE(IsValidUtf8("時報 ｱ 𝄞"));
  for (const char* bad : {"\x8e\x9e",          // Shift-JIS 時
                          "\xC0\xAF",          // overlong '/'
                          "\xE0\x80\xAF",      // overlong
                          "\xED\xA0\x80",      // surrogate
                          "\xF4\x90\x80\x80",  // past U+10FFFF
                          "\xE6\x99",          // cut short
                          "abc\xFF"}) {
    EXPECT_FALSE(IsValidUtf8(bad)) << bad;
  }
}

TEST(TextEncoding, ConvertsCp932AndMarksWhatItCannotRead) {
  EXPECT_EQ(Cp932ToUtf8("\x8e\x9e\x95\xf1 \xb1\xb2 C:\\\x95\x5c"), "時報 ｱｲ C:\\表");
  // 0xA0 is no CP932 character; a lead byte at the very end has lost its partner.
  EXPECT_EQ(Cp932ToUtf8("a\xA0"
                        "b\x8e"),
            "a\xEF\xBF\xBD"
            "b\xEF\xBF\xBD");
}

TEST(TextEncoding, TellsAFileEncodingAndDecodesIt) {
  constexpr auto kUtf8 = FileEncoding::kUtf8;
  constexpr auto kCp932 = FileEncoding::kCp932;
  const struct {
    std::string_view bytes;
    std::string_view text;
    FileEncoding encoding;
    bool bom;
  } kCases[] = {
      {"Time \"[hour]\" At 7:00", "Time \"[hour]\" At 7:00", kUtf8, false},
      {"\xEF\xBB\xBF時報", "時報", kUtf8, true},
      // A stray byte in UTF-8 text replaces that byte only.
      {"時報\xFF です", "時報\uFFFD です", kUtf8, false},
      {"Folder=C:\\\x8e\x9e\x95\xf1\x95\x5c", "Folder=C:\\時報表", kCp932, false},
      // Half-width katakana pairs may look like UTF-8 here and there; the stray bytes win.
      {"\xC3\xBD\xC4\xB1\xB2\xB3", "ﾃｽﾄｱｲｳ", kCp932, false},
      {"a\xFF" "b", "a\uFFFD" "b", kCp932, false},
  };
  for (const auto& c : kCases) {
    const DecodedFile file = DecodeFile(c.bytes);
    EXPECT_EQ(file.text, c.text) << c.bytes;
    EXPECT_EQ(file.encoding, c.encoding) << c.bytes;
    EXPECT_EQ(file.bom, c.bom) << c.bytes;
  }
}

TEST(TextEncoding, EncodesInTheFileEncodingOrFallsBackToUtf8) {
  EXPECT_EQ(EncodeFile("時報 ｱ\r\n", FileEncoding::kCp932).bytes, "\x8e\x9e\x95\xf1 \xb1\r\n");
  EXPECT_EQ(EncodeFile("時報", FileEncoding::kCp932).change, EncodingChange::kNone);
  EXPECT_EQ(EncodeFile("時報", FileEncoding::kUtf8, true).bytes, "\xEF\xBB\xBF時報");
  for (const char* unheld : {"時報 😀", "ñ", "\uFFFD"}) {
    const EncodedFile encoded = EncodeFile(unheld, FileEncoding::kCp932);
    EXPECT_EQ(encoded.bytes, unheld);
    EXPECT_EQ(encoded.change, EncodingChange::kCp932BecameUtf8);
  }
}

TEST(TextEncoding, Utf8PrefixCountsCharacters) {
  EXPECT_EQ(Utf8Prefix("時報です", 2), "時報");
  EXPECT_EQ(Utf8Prefix("ab", 5), "ab");
  EXPECT_EQ(Utf8Prefix("a時", 1), "a");
}

}  // namespace
}  // namespace chimewell
