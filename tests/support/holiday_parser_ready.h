#pragma once
// Whether the holiday file parser reads days yet: the tests that go through the file skip
// themselves until it does, the others build their calendars from the days directly.
#include "core/holiday_file.h"

namespace chimewell::testing {

inline bool HolidayParserReady() { return !ParseHolidayFile("01/01 元日\n").days.empty(); }

}  // namespace chimewell::testing
