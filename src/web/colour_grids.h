#pragma once
// The seven colour grids of the clock-face form: one table body of 140 clickable colours each.
#include <array>
#include <string>

namespace chimewell {

// The colours of the clock face, in the order of the grids.
enum class ColourTarget { kBack, kDate, kHHMM1, kHHMM2, kAMPM1, kAMPM2, kSec };
inline constexpr size_t kColourTargetCount = 7;

using ColourGrids = std::array<std::string, kColourTargetCount>;

// "\r\n<TR>" + 20 rows of 7 cells + an empty row; each cell calls setColor on DIGIFORM.
std::string BuildColourGrid(ColourTarget target);
// All seven; they never change, so the program builds them once at start-up.
ColourGrids BuildColourGrids();

}  // namespace chimewell
