#include "display/font_charset.h"

namespace chimewell {

int FontCharset(const FontCatalog& fonts, std::string_view face_name) {
  if (face_name.empty()) return kDefaultCharset;
  const auto family = fonts.Find(face_name);
  if (!family) return kDefaultCharset;
  return family->japanese ? kShiftJisCharset : kAnsiCharset;
}

}  // namespace chimewell
