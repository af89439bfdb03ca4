#include "ui/qt_font_catalog.h"

#include <gtest/gtest.h>

#include "display/font_charset.h"

namespace chimewell {
namespace {

// IPA Gothic is one of the program's packages; DejaVu comes with every Qt installation here.
TEST(QtFontCatalogTest, CharsetsOfInstalledAndUnknownFamilies) {
  const QtFontCatalog fonts;
  EXPECT_EQ(FontCharset(fonts, "IPAGothic"), 128);
  EXPECT_EQ(FontCharset(fonts, "ipagothic"), 128);
  EXPECT_EQ(FontCharset(fonts, "IPAゴシック"), 128);
  EXPECT_EQ(FontCharset(fonts, "DejaVu Sans"), 0);
  EXPECT_EQ(FontCharset(fonts, ""), 1);
  EXPECT_EQ(FontCharset(fonts, "No Such Face 4711"), 1);
}

TEST(QtFontCatalogTest, FamiliesListsInstalledOutlineFaces) {
  const auto families = QtFontCatalog().Families();
  const auto ipa = std::find_if(families.begin(), families.end(),
                                [](const auto& f) { return f.name == "IPAGothic"; });
  ASSERT_NE(ipa, families.end());
  EXPECT_TRUE(ipa->japanese);
  EXPECT_EQ(ipa->type, kOutlineFontType);
}

}  // namespace
}  // namespace chimewell
