#pragma once
// The seven clock colours as the configuration page names them, in the order of the colour grids.
#include <array>

#include "core/settings.h"
#include "web/colour_grids.h"

namespace chimewell {

struct ClockColourField {
  const char* name;             // form field and placeholder stem
  Colour ClockSettings::*field;  // the setting it shows and sets
};

inline constexpr std::array<ClockColourField, kColourTargetCount> kClockColourFields = {{
    {"BACKCOLOR", &ClockSettings::BackColor},
    {"DATECOLOR", &ClockSettings::DateColor},
    {"HHMM1COLOR", &ClockSettings::HHMM1Color},
    {"HHMM2COLOR", &ClockSettings::HHMM2Color},
    {"AMPM1COLOR", &ClockSettings::AMPM1Color},
    {"AMPM2COLOR", &ClockSettings::AMPM2Color},
    {"SECCOLOR", &ClockSettings::SecColor},
}};

}  // namespace chimewell
