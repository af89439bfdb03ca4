#pragma once
// What the configuration page keeps between requests: the font option lists and the colour
// grids, built once because enumerating the fonts and generating 980 colour cells is slow.
#include <string>
#include <string_view>

#include "web/colour_grids.h"

namespace chimewell {

class FontCatalog;

struct PageCache {
  std::string date_font_options;   // marks the date font as it was when the list was built
  std::string digit_font_options;  // marks the digit font likewise
  ColourGrids colour_grids;
};

// Both font lists and all seven grids.
PageCache BuildPageCache(const FontCatalog& fonts, std::string_view date_font,
                         std::string_view digit_font);

// One font list, after the clock-face form changed that font.
std::string BuildFontOptionList(const FontCatalog& fonts, std::string_view current);

}  // namespace chimewell
