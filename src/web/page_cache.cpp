#include "web/page_cache.h"

#include "platform/font_catalog.h"
#include "web/page_option_lists.h"

namespace chimewell {

std::string BuildFontOptionList(const FontCatalog& fonts, std::string_view current) {
  return BuildFontOptions(fonts.Families(), current);
}

PageCache BuildPageCache(const FontCatalog& fonts, std::string_view date_font,
                         std::string_view digit_font) {
  const std::vector<FontFamilyInfo> families = fonts.Families();
  PageCache cache;
  cache.date_font_options = BuildFontOptions(families, date_font);
  cache.digit_font_options = BuildFontOptions(families, digit_font);
  cache.colour_grids = BuildColourGrids();
  return cache;
}

}  // namespace chimewell
