#pragma once
// The clock face: date line, hour and minute, am/pm marker and seconds drawn onto a Canvas.
#include <functional>
#include <string>
#include <string_view>

#include "core/clock.h"
#include "core/datetime.h"
#include "core/settings.h"
#include "display/canvas.h"
#include "display/font_charset.h"

namespace chimewell {

// What the face remembers between drawings; owned by the application object.
struct ClockFaceState {
  // The next drawing repaints everything (set at start-up and after the face settings change).
  bool FullRedrawPending = true;
  // The moment of the last drawing; the main tick compares it with the clock too.
  TDateTime LastDrawnTime = 0.0;
  // Draw the 10-pixel layout grid at each full drawing; never stored.
  bool DebugGrid = false;
  // Character sets of the date and digit faces, from FontCharset.
  int DateCharset = kDefaultCharset;
  int DigitCharset = kDefaultCharset;
};

// Sets DateCharset and DigitCharset from the face names, as after loading or changing them.
void LookUpFaceCharsets(const FontCatalog& fonts, const ClockSettings& settings,
                        ClockFaceState& state);

// Turns the date-line template into text for a moment.
using DateLineExpander = std::function<std::string(std::string_view tmpl, TDateTime moment)>;

// Colours of the layout grid: every tenth line red, the others blue.
inline constexpr Colour kGridMajorColour = 0x0000FF;
inline constexpr Colour kGridMinorColour = 0xFF0000;
inline constexpr int kGridSpacing = 10;

// Draws the face for the clock's current time. A full drawing (new minute, or FullRedrawPending)
// fills the background and draws the grid and the date line; every drawing repaints the time
// texts in place. Updates FullRedrawPending and LastDrawnTime.
void DrawClockFace(Canvas& canvas, const ClockSettings& settings, ClockFaceState& state,
                   const Clock& clock, const DateLineExpander& expand_date);
// The same, with the date line expanded by the speech text templates' tokens.
void DrawClockFace(Canvas& canvas, const ClockSettings& settings, ClockFaceState& state,
                   const Clock& clock);

// The texts of the time of day, as drawn.
std::string HourMinuteText(int hour, int minute);  // "%2d:%.02d "
std::string MarkerText(int hour);                  // "am " or "pm "
std::string SecondsText(int second);               // " %2d"; drawn with one more space after it

}  // namespace chimewell
