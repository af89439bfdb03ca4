#pragma once
// The 140 named colours offered by the clock-face colour grids, and colour value conversions.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace chimewell {

struct NamedColour {
  std::string_view name;
  uint32_t rgb;  // 0xRRGGBB
};

inline constexpr size_t kColourNameCount = 140;

// In grid order, seven to a grid row.
const std::array<NamedColour, kColourNameCount>& ColourNameTable();

// Exchanges the low and the third byte, keeps the middle one; the top byte becomes 0. Turns a
// stored colour (0x00BBGGRR) into 0xRRGGBB and back.
uint32_t SwapRedBlue(uint32_t colour);

// Six upper-case hexadecimal digits of 0xRRGGBB, zero-padded.
std::string RgbHex(uint32_t rgb);

}  // namespace chimewell
