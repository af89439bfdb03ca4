#include "display/font_charset.h"

#include <gtest/gtest.h>

#include "display/clock_face.h"

namespace chimewell {
namespace {

class ListedFonts final : public FontCatalog {
 public:
  std::vector<FontFamilyInfo> Families() const override {
    return {{"IPAGothic", kOutlineFontType, true}, {"DejaVu Sans", kOutlineFontType, false}};
  }
  std::optional<FontFamilyInfo> Find(std::string_view name) const override {
    for (const auto& f : Families()) {
      if (f.name == name) return f;
    }
    return std::nullopt;
  }
};

TEST(FontCharsetTest, JapaneseFamilyOtherFamilyAndNoFamily) {
  const ListedFonts fonts;
  EXPECT_EQ(FontCharset(fonts, "IPAGothic"), 128);
  EXPECT_EQ(FontCharset(fonts, "DejaVu Sans"), 0);
  EXPECT_EQ(FontCharset(fonts, ""), 1);
  EXPECT_EQ(FontCharset(fonts, "No Such Face"), 1);
}

TEST(FontCharsetTest, FaceCharsetsFollowTheirOwnNames) {
  ClockSettings settings;
  settings.DateName = "IPAGothic";
  ClockFaceState state;
  LookUpFaceCharsets(ListedFonts(), settings, state);
  EXPECT_EQ(state.DateCharset, 128);
  EXPECT_EQ(state.DigitCharset, 1);
}

}  // namespace
}  // namespace chimewell
