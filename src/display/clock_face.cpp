#include "display/clock_face.h"

#include <cstdio>

#include "core/speech_text.h"

namespace chimewell {
namespace {

bool HasStyle(const ClockSettings& s, ClockStyleBit bit) { return (s.FontStyles & bit) != 0; }

void DrawGrid(Canvas& canvas) {
  const int width = canvas.Width();
  const int height = canvas.Height();
  auto colour_of = [](int index) { return index % 10 == 0 ? kGridMajorColour : kGridMinorColour; };
  for (int y = 0, i = 0; y < height; y += kGridSpacing, ++i) {
    canvas.DrawLine(0, y, width - 1, y, colour_of(i));
  }
  for (int x = 0, i = 0; x < width; x += kGridSpacing, ++i) {
    canvas.DrawLine(x, 0, x, height - 1, colour_of(i));
  }
}

void DrawBackgroundAndDate(Canvas& canvas, const ClockSettings& s, const ClockFaceState& state,
                           TDateTime now, const DateLineExpander& expand_date) {
  canvas.FillRect(0, 0, canvas.Width(), canvas.Height(), s.BackColor);
  if (state.DebugGrid) DrawGrid(canvas);
  if (!s.DateName.empty()) canvas.SetFontFace(s.DateName, state.DateCharset);
  canvas.SetFontSize(s.DateSize);
  canvas.SetFontStyle(HasStyle(s, kDateBold), HasStyle(s, kDateItalic));
  canvas.SetTextColour(s.DateColor);
  canvas.SetTextBackground(s.BackColor);
  canvas.TextOut(s.DateX, s.DateY, expand_date(s.DateFormat, now));
}

void DrawTimeTexts(Canvas& canvas, const ClockSettings& s, const ClockFaceState& state,
                   const DateTimeParts& t) {
  // With no digit face the face set last stays: the date face, or the canvas's own.
  if (!s.DigitName.empty()) canvas.SetFontFace(s.DigitName, state.DigitCharset);
  canvas.SetTextBackground(s.BackColor);
  const bool morning = t.hour < 12;

  canvas.SetFontSize(s.HHMMSize);
  canvas.SetFontStyle(HasStyle(s, kHHMMBold), HasStyle(s, kHHMMItalic));
  canvas.SetTextColour(morning ? s.HHMM1Color : s.HHMM2Color);
  canvas.TextOut(s.HHMMX, s.HHMMY, HourMinuteText(t.hour, t.minute));

  canvas.SetFontSize(s.AMPMSize);
  canvas.SetFontStyle(HasStyle(s, kAMPMBold), HasStyle(s, kAMPMItalic));
  canvas.SetTextColour(morning ? s.AMPM1Color : s.AMPM2Color);
  canvas.TextOut(s.AMPMX, s.AMPMY, MarkerText(t.hour));

  // The seconds end at SecX; the trailing space wipes what a wider earlier text left behind.
  canvas.SetFontSize(s.SecSize);
  canvas.SetFontStyle(HasStyle(s, kSecBold), HasStyle(s, kSecItalic));
  canvas.SetTextColour(s.SecColor);
  const std::string seconds = SecondsText(t.second);
  canvas.TextOut(s.SecX - canvas.TextWidth(seconds), s.SecY, seconds + " ");
}

}  // namespace

std::string HourMinuteText(int hour, int minute) {
  char text[16];
  std::snprintf(text, sizeof text, "%2d:%.02d ", hour, minute);
  return text;
}

std::string MarkerText(int hour) { return hour < 12 ? "am " : "pm "; }

std::string SecondsText(int second) {
  char text[16];
  std::snprintf(text, sizeof text, " %2d", second);
  return text;
}

void LookUpFaceCharsets(const FontCatalog& fonts, const ClockSettings& settings,
                        ClockFaceState& state) {
  state.DateCharset = FontCharset(fonts, settings.DateName);
  state.DigitCharset = FontCharset(fonts, settings.DigitName);
}

void DrawClockFace(Canvas& canvas, const ClockSettings& settings, ClockFaceState& state,
                   const Clock& clock, const DateLineExpander& expand_date) {
  const TDateTime now = clock.Now();
  const DateTimeParts t = DecodeDateTime(now);
  const DateTimeParts last = DecodeDateTime(state.LastDrawnTime);
  const bool full =
      state.FullRedrawPending || t.hour * 60 + t.minute != last.hour * 60 + last.minute;
  if (full) {
    state.FullRedrawPending = false;
    // The date line uses the same moment as the digits, so the two never disagree at midnight.
    DrawBackgroundAndDate(canvas, settings, state, now, expand_date);
  }
  DrawTimeTexts(canvas, settings, state, t);
  state.LastDrawnTime = now;
}

void DrawClockFace(Canvas& canvas, const ClockSettings& settings, ClockFaceState& state,
                   const Clock& clock) {
  DrawClockFace(canvas, settings, state, clock, [](std::string_view tmpl, TDateTime moment) {
    return ExpandSpeechText(tmpl, moment);
  });
}

}  // namespace chimewell
