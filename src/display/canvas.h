#pragma once
// The drawing surface of the clock face: a bitmap with a current font, pen colours and opaque text.
#include <string_view>

#include "core/settings.h"

namespace chimewell {

// A stateful surface in the manner of a device context: the face, size, style and colours set
// last stay in force for every later text until changed, also across calls of DrawClockFace.
class Canvas {
 public:
  virtual ~Canvas() = default;

  virtual int Width() const = 0;
  virtual int Height() const = 0;

  // Fills the rectangle with a colour; the text settings are untouched.
  virtual void FillRect(int x, int y, int width, int height, Colour colour) = 0;
  // A one-pixel line from (x1, y1) to (x2, y2), both ends included.
  virtual void DrawLine(int x1, int y1, int x2, int y2, Colour colour) = 0;

  // The font face by family name, with the character set found for it (see FontCharset).
  virtual void SetFontFace(std::string_view family, int charset) = 0;
  // Size in points.
  virtual void SetFontSize(int points) = 0;
  virtual void SetFontStyle(bool bold, bool italic) = 0;
  virtual void SetTextColour(Colour colour) = 0;
  // The colour that fills each text's cell before its glyphs are drawn.
  virtual void SetTextBackground(Colour colour) = 0;

  // Width in pixels of the UTF-8 text in the current font.
  virtual int TextWidth(std::string_view text) = 0;
  // Draws the UTF-8 text with its cell's top-left corner at (x, y), opaque: across the text's
  // advance, the rows its glyphs (and the font's digits) can ink are filled with the text
  // background first, so a text repainted in place leaves nothing of the one before it. The
  // ink of a text drawn at another corner since the last full fill is never painted over.
  virtual void TextOut(int x, int y, std::string_view text) = 0;
};

}  // namespace chimewell
