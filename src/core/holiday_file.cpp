#include "core/holiday_file.h"

namespace chimewell {

HolidayFileContents ParseHolidayFile(std::string_view /*text*/) { return {}; }

}  // namespace chimewell
