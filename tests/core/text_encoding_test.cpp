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

TEST(TextEncoding, DecodesFileTextByItsEncoding) {
  EXPECT_EQ(DecodeFileText("\xEF\xBB\xBF時報"), "時報");
  EXPECT_EQ(DecodeFileText("時報"), "時報");
  EXPECT_EQ(DecodeFileText("\x8e\x9e\x95\xf1"), "時報");
  // One stray byte is enough to take the whole file as CP932.
  EXPECT_TRUE(IsValidUtf8(DecodeFileText("時報\xFF")));
}

TEST(TextEncoding, Utf8PrefixCountsCharacters) {
  EXPECT_EQ(Utf8Prefix("時報です", 2), "時報");
  EXPECT_EQ(Utf8Prefix("ab", 5), "ab");
  EXPECT_EQ(Utf8Prefix("a時", 1), "a");
}

}  // namespace
}  // namespace chimewell
