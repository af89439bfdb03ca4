#pragma once
// The clock-face form: colour fields, the validation of every field, and the settings it makes.
#include <string>
#include <string_view>
#include <vector>

#include "core/settings.h"
#include "web/param_decoding.h"
#include "web/request_context.h"

namespace chimewell {

// Up to six hexadecimal digits as 0xRRGGBB (further characters are ignored); an empty text is
// black; -1 when one of the first six characters is not a hexadecimal digit.
int ParseColourHex(std::string_view text);

// What a submitted clock-face form asks for.
struct ClockFormResult {
  // The problems found, each a line ending "<BR>\r\n", in the order of the form; when any is
  // found nothing of the form may be applied.
  std::string problems;
  // The current settings with the form's values put in (colours in the stored form, style flags
  // from the style fields, font names only where their checkbox is on).
  ClockSettings settings;
  bool debug_grid = false;
  bool date_font_changed = false;   // the date font option list must mark a new name
  bool digit_font_changed = false;  // the same for the digit font
};

// Reads and checks the DIGISET form against the `current` settings.
ClockFormResult ReadClockForm(const DecodedParams& params, const ClockSettings& current);

// The clock-face step of the request handler: applies and saves a good form, reports the
// problems of a bad one and changes nothing; the clock is fully redrawn either way. False
// without DIGISET; a failed save throws IniWriteError.
bool HandleClockForm(RequestContext& ctx);

}  // namespace chimewell
