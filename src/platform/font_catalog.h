#pragma once
// The installed font families, as the clock face and the configuration page see them.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace chimewell {

// Font-type bits as the configuration page shows them next to each family name.
enum FontTypeBit : int {
  kRasterFontType = 1,
  kDeviceFontType = 2,
  kOutlineFontType = 4,
};

struct FontFamilyInfo {
  std::string name;       // UTF-8 family name as the font system reports it
  int type = 0;           // FontTypeBit flags
  bool japanese = false;  // the family covers Japanese text
};

class FontCatalog {
 public:
  virtual ~FontCatalog() = default;
  // Every installed family, in the font system's order.
  virtual std::vector<FontFamilyInfo> Families() const = 0;
  // The family carrying this name (the font system's own matching rules), if installed.
  virtual std::optional<FontFamilyInfo> Find(std::string_view name) const = 0;
};

}  // namespace chimewell
