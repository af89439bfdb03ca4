#pragma once
// The installed font families as Qt's font database reports them.
#include "platform/font_catalog.h"

namespace chimewell {

// Needs a QGuiApplication.
class QtFontCatalog final : public FontCatalog {
 public:
  std::vector<FontFamilyInfo> Families() const override;
  std::optional<FontFamilyInfo> Find(std::string_view name) const override;
};

}  // namespace chimewell
