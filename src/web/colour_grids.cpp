#include "web/colour_grids.h"

#include "web/colour_table.h"

namespace chimewell {
namespace {

// The sample element and colour field of each target; the single quote at the end opens the
// hexadecimal argument that each cell closes.
constexpr std::array<const char*, kColourTargetCount> kSetColorArguments = {
    "DIGIFORM.BACKSAMPLE,  DIGIFORM.BACKCOLOR,'",  "DIGIFORM.DATESAMPLE,  DIGIFORM.DATECOLOR,'",
    "DIGIFORM.HHMM1SAMPLE, DIGIFORM.HHMM1COLOR,'", "DIGIFORM.HHMM2SAMPLE, DIGIFORM.HHMM2COLOR,'",
    "DIGIFORM.AMPM1SAMPLE, DIGIFORM.AMPM1COLOR,'", "DIGIFORM.AMPM2SAMPLE, DIGIFORM.AMPM2COLOR,'",
    "DIGIFORM.SECSAMPLE,   DIGIFORM.SECCOLOR,'",
};

constexpr size_t kCellsPerRow = 7;

}  // namespace

std::string BuildColourGrid(ColourTarget target) {
  const std::string_view argument = kSetColorArguments[static_cast<size_t>(target)];
  std::string grid = "\r\n<TR>";
  grid.reserve(24 * 1024);
  const auto& table = ColourNameTable();
  for (size_t k = 0; k < table.size(); ++k) {
    const std::string hex = RgbHex(table[k].rgb);
    grid += "<TD class=cell bgColor=\"";
    grid += table[k].name;
    grid += "\">\r\n<A href=\"javascript:setColor(";
    grid += argument;
    grid += hex;
    grid += "')\">";
    grid += table[k].name;
    grid += "<BR>#";
    grid += hex;
    grid += "</A>\r\n</TD>\r\n";
    if (k % kCellsPerRow == kCellsPerRow - 1) grid += "</TR><TR>\r\n";
  }
  grid += "</TR>\r\n";
  return grid;
}

ColourGrids BuildColourGrids() {
  ColourGrids grids;
  for (size_t i = 0; i < kColourTargetCount; ++i) {
    grids[i] = BuildColourGrid(static_cast<ColourTarget>(i));
  }
  return grids;
}

}  // namespace chimewell
