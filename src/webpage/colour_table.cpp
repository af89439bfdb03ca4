#include "webpage/colour_table.h"

namespace chimewell {
namespace {

// The CSS named colours, in the order the grids have always shown them. BurlyWood keeps the
// value users of the grid already have in their settings (DBE887), MediumTurquoise stands twice
// and Turquoise not at all, for the same reason.
constexpr std::array<NamedColour, kColourNameCount> kTable{{
    {"GhostWhite", 0xF8F8FF},      {"Ivory", 0xFFFFF0},
    {"WhiteSmoke", 0xF5F5F5},      {"White", 0xFFFFFF},
    {"AliceBlue", 0xF0F8FF},       {"LightYellow", 0xFFFFE0},
    {"MintCream", 0xF5FFFA},       {"Snow", 0xFFFAFA},
    {"PowderBlue", 0xB0E0E6},      {"Cornsilk", 0xFFF8DC},
    {"Honeydew", 0xF0FFF0},        {"FloralWhite", 0xFFFAF0},
    {"LightBlue", 0xADD8E6},       {"LightGoldenrodYellow", 0xFAFAD2},
    {"Azure", 0xF0FFFF},           {"Seashell", 0xFFF5EE},
    {"SkyBlue", 0x87CEEB},         {"LemonChiffon", 0xFFFACD},
    {"LightCyan", 0xE0FFFF},       {"Linen", 0xFAF0E6},
    {"SteelBlue", 0x4682B4},       {"Beige", 0xF5F5DC},
    {"Aqua", 0x00FFFF},            {"AntiqueWhite", 0xFAEBD7},
    {"LightSteelBlue", 0xB0C4DE},  {"OldLace", 0xFDF5E6},
    {"Aquamarine", 0x7FFFD4},      {"PapayaWhip", 0xFFEFD5},
    {"DeepSkyBlue", 0x00BFFF},     {"Gainsboro", 0xDCDCDC},
    {"PaleTurquoise", 0xAFEEEE},   {"BlanchedAlmond", 0xFFEBCD},
    {"DodgerBlue", 0x1E90FF},      {"LightGrey", 0xD3D3D3},
    {"MediumTurquoise", 0x48D1CC}, {"Bisque", 0xFFE4C4},
    {"RoyalBlue", 0x4169E1},       {"LavenderBlush", 0xFFF0F5},
    {"DarkTurquoise", 0x00CED1},   {"Wheat", 0xF5DEB3},
    {"Lavender", 0xE6E6FA},        {"HotPink", 0xFF69B4},
    {"DeepPink", 0xFF1493},        {"LightPink", 0xFFB6C1},
    {"Pink", 0xFFC0CB},            {"DarkMagenta", 0x8B008B},
    {"Magenta", 0xFF00FF},         {"MediumPurple", 0x9370DB},
    {"Purple", 0x800080},          {"DarkViolet", 0x9400D3},
    {"BlueViolet", 0x8A2BE2},      {"MediumVioletRed", 0xC71585},
    {"PaleVioletRed", 0xDB7093},   {"Violet", 0xEE82EE},
    {"MediumOrchid", 0xBA55D3},    {"DarkOrchid", 0x9932CC},
    {"Orchid", 0xDA70D6},          {"Fuchsia", 0xFF00FF},
    {"Plum", 0xDDA0DD},            {"SlateBlue", 0x6A5ACD},
    {"MistyRose", 0xFFE4E1},       {"MidnightBlue", 0x191970},
    {"MediumSlateBlue", 0x7B68EE}, {"MediumBlue", 0x0000CD},
    {"DarkSlateBlue", 0x483D8B},   {"DarkBlue", 0x00008B},
    {"CornflowerBlue", 0x6495ED},  {"CadetBlue", 0x5F9EA0},
    {"Blue", 0x0000FF},            {"Navy", 0x000080},
    {"Indigo", 0x4B0082},          {"GreenYellow", 0xADFF2F},
    {"LawnGreen", 0x7CFC00},       {"LightGreen", 0x90EE90},
    {"LightSeaGreen", 0x20B2AA},   {"LimeGreen", 0x32CD32},
    {"MediumSeaGreen", 0x3CB371},  {"MediumSpringGreen", 0x00FA9A},
    {"PaleGreen", 0x98FB98},       {"SeaGreen", 0x2E8B57},
    {"SpringGreen", 0x00FF7F},     {"YellowGreen", 0x9ACD32},
    {"Green", 0x008000},           {"ForestGreen", 0x228B22},
    {"DarkSeaGreen", 0x8FBC8F},    {"DarkOliveGreen", 0x556B2F},
    {"DarkGreen", 0x006400},       {"Lime", 0x00FF00},
    {"OliveDrab", 0x6B8E23},       {"Chartreuse", 0x7FFF00},
    {"RosyBrown", 0xBC8F8F},       {"SaddleBrown", 0x8B4513},
    {"SandyBrown", 0xF4A460},      {"Brown", 0xA52A2A},
    {"DarkOrange", 0xFF8C00},      {"Orange", 0xFFA500},
    {"OrangeRed", 0xFF4500},       {"IndianRed", 0xCD5C5C},
    {"Red", 0xFF0000},             {"DarkRed", 0x8B0000},
    {"Tomato", 0xFF6347},          {"Crimson", 0xDC143C},
    {"FireBrick", 0xB22222},       {"LightCoral", 0xF08080},
    {"Coral", 0xFF7F50},           {"Maroon", 0x800000},
    {"LightSalmon", 0xFFA07A},     {"DarkGoldenrod", 0xB8860B},
    {"Silver", 0xC0C0C0},          {"LightSlateGray", 0x778899},
    {"Salmon", 0xFA8072},          {"Goldenrod", 0xDAA520},
    {"DarkGray", 0xA9A9A9},        {"SlateGray", 0x708090},
    {"DarkSalmon", 0xE9967A},      {"PaleGoldenrod", 0xEEE8AA},
    {"Gray", 0x808080},            {"DarkSlateGray", 0x2F4F4F},
    {"Khaki", 0xF0E68C},           {"BurlyWood", 0xDBE887},
    {"DimGray", 0x696969},         {"DarkCyan", 0x008B8B},
    {"DarkKhaki", 0xBDB76B},       {"Tan", 0xD2B48C},
    {"Black", 0x000000},           {"Teal", 0x008080},
    {"Olive", 0x808000},           {"NavajoWhite", 0xFFDEAD},
    {"Sienna", 0xA0522D},          {"MediumAquamarine", 0x66CDAA},
    {"Gold", 0xFFD700},            {"PeachPuff", 0xFFDAB9},
    {"Chocolate", 0xD2691E},       {"MediumTurquoise", 0x48D1CC},
    {"Yellow", 0xFFFF00},          {"Moccasin", 0xFFE4B5},
    {"Thistle", 0xD8BFD8},         {"Peru", 0xCD853F},
    {"Cyan", 0x00FFFF},            {"LightSkyBlue", 0x87CEFA},
}};

}  // namespace

const std::array<NamedColour, kColourNameCount>& ColourNameTable() { return kTable; }

uint32_t SwapRedBlue(uint32_t colour) {
  return ((colour & 0xFF) << 16) | (colour & 0xFF00) | ((colour >> 16) & 0xFF);
}

std::string RgbHex(uint32_t rgb) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string hex(6, '0');
  for (int i = 5; i >= 0; --i) {
    hex[i] = kDigits[rgb & 0xF];
    rgb >>= 4;
  }
  return hex;
}

}  // namespace chimewell
