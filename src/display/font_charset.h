#pragma once
// The character-set number recorded for a clock-face font, from the installed families.
#include <string_view>

#include "platform/font_catalog.h"

namespace chimewell {

// Character-set numbers as stored with the face names.
inline constexpr int kAnsiCharset = 0;
inline constexpr int kDefaultCharset = 1;
inline constexpr int kShiftJisCharset = 128;

// 128 for an installed family that covers Japanese, 0 for any other installed family, and 1
// (the default set) for an empty name or one that no installed family carries.
int FontCharset(const FontCatalog& fonts, std::string_view face_name);

}  // namespace chimewell
