#include <gtest/gtest.h>

#include <set>

#include "web/colour_grids.h"
#include "web/colour_table.h"

namespace chimewell {
namespace {

uint32_t ValueOf(std::string_view name) {
  for (const auto& row : ColourNameTable()) {
    if (row.name == name) return row.rgb;
  }
  ADD_FAILURE() << name << " is not in the table";
  return 0;
}

TEST(ColourNameTable, HoldsTheGridColoursInOrderWithTheirValues) {
  const auto& table = ColourNameTable();
  EXPECT_EQ(table.front().name, "GhostWhite");
  EXPECT_EQ(table.back().name, "LightSkyBlue");
  EXPECT_EQ(table[33].name, "LightGrey");
  EXPECT_EQ(ValueOf("GhostWhite"), 0xF8F8FFu);
  EXPECT_EQ(ValueOf("LightGrey"), 0xD3D3D3u);
  EXPECT_EQ(ValueOf("Fuchsia"), 0xFF00FFu);
  EXPECT_EQ(ValueOf("Magenta"), 0xFF00FFu);
  EXPECT_EQ(ValueOf("Aqua"), 0x00FFFFu);
  EXPECT_EQ(ValueOf("Cyan"), 0x00FFFFu);
  EXPECT_EQ(ValueOf("Black"), 0x000000u);
  EXPECT_EQ(ValueOf("LightSkyBlue"), 0x87CEFAu);
  EXPECT_EQ(ValueOf("BurlyWood"), 0xDBE887u);
  EXPECT_EQ(ValueOf("DarkSeaGreen"), 0x8FBC8Fu);
}

TEST(ColourNameTable, MediumTurquoiseStandsTwiceAndTurquoiseNever) {
  const auto& table = ColourNameTable();
  EXPECT_EQ(table[34].name, "MediumTurquoise");
  EXPECT_EQ(table[133].name, "MediumTurquoise");
  EXPECT_EQ(table[34].rgb, 0x48D1CCu);
  EXPECT_EQ(table[133].rgb, 0x48D1CCu);
  std::set<std::string_view> names;
  for (const auto& row : table) {
    names.insert(row.name);
    EXPECT_LE(row.rgb, 0xFFFFFFu);
  }
  EXPECT_EQ(names.size(), 139u);
  EXPECT_EQ(names.count("Turquoise"), 0u);
}

TEST(ColourValues, StoredColoursShowAsRgbHexWithRedFirst) {
  EXPECT_EQ(RgbHex(SwapRedBlue(255)), "FF0000");       // stored red
  EXPECT_EQ(RgbHex(SwapRedBlue(16770244)), "C4E4FF");  // default background
  EXPECT_EQ(RgbHex(SwapRedBlue(0x0A0B0C)), "0C0B0A");
  EXPECT_EQ(RgbHex(0x00000F), "00000F");
  EXPECT_EQ(SwapRedBlue(0xFF123456u), 0x563412u);  // the top byte is dropped
}

TEST(ColourGrid, TwentyRowsOfSevenCellsThenAnEmptyRow) {
  const std::string grid = BuildColourGrid(ColourTarget::kBack);
  EXPECT_EQ(grid.rfind("\r\n<TR><TD class=cell bgColor=\"GhostWhite\">\r\n", 0), 0u);
  EXPECT_NE(grid.find("<TD class=cell bgColor=\"GhostWhite\">\r\n<A href=\"javascript:setColor("
                      "DIGIFORM.BACKSAMPLE,  DIGIFORM.BACKCOLOR,'F8F8FF')\">GhostWhite<BR>#F8F8FF"
                      "</A>\r\n</TD>\r\n<TD class=cell bgColor=\"Ivory\">"),
            std::string::npos);
  size_t cells = 0, rows = 0;
  for (size_t at = grid.find("<TD"); at != std::string::npos; at = grid.find("<TD", at + 1))
    ++cells;
  for (size_t at = grid.find("<TR>"); at != std::string::npos; at = grid.find("<TR>", at + 1))
    ++rows;
  EXPECT_EQ(cells, 140u);
  EXPECT_EQ(rows, 21u);
  // The seventh cell closes the first row.
  EXPECT_NE(
      grid.find(
          "MintCream<BR>#F5FFFA</A>\r\n</TD>\r\n</TR><TR>\r\n<TD class=cell bgColor=\"Snow\">"),
      std::string::npos);
  EXPECT_TRUE(grid.ends_with("LightSkyBlue<BR>#87CEFA</A>\r\n</TD>\r\n</TR><TR>\r\n</TR>\r\n"));
}

TEST(ColourGrid, EachTargetCallsSetColorWithItsOwnFields) {
  const ColourGrids grids = BuildColourGrids();
  EXPECT_NE(grids[1].find("setColor(DIGIFORM.DATESAMPLE,  DIGIFORM.DATECOLOR,'000000')"),
            std::string::npos);
  EXPECT_NE(grids[3].find("setColor(DIGIFORM.HHMM2SAMPLE, DIGIFORM.HHMM2COLOR,'FF0000')"),
            std::string::npos);
  EXPECT_NE(grids[6].find("setColor(DIGIFORM.SECSAMPLE,   DIGIFORM.SECCOLOR,'87CEFA')"),
            std::string::npos);
  EXPECT_EQ(grids[6].find("BACKSAMPLE"), std::string::npos);
  EXPECT_EQ(grids[0].size(), grids[1].size());  // BACK and DATE names are equally long
}

}  // namespace
}  // namespace chimewell
