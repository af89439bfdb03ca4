#pragma once
// The clock face's date line drawn alone, to tell whether anything drawn later damaged it.
#include <QImage>
#include <QRect>

#include "display/clock_face.h"
#include "support/fake_clock.h"
#include "ui/qt_canvas.h"

namespace chimewell::testing {

// The face at `t` with only its date line: the time texts are moved off the image.
inline QImage DateLineAlone(const ClockSettings& settings, TDateTime t, QSize size) {
  ClockSettings alone = settings;
  alone.HHMMY = alone.AMPMY = alone.SecY = 5000;
  QtCanvas canvas(size.width(), size.height());
  ClockFaceState state;
  FakeClock clock(t);
  DrawClockFace(canvas, alone, state, clock);
  return canvas.Image().copy();
}

// The box of every pixel of `image` (within its top 100 rows) not in the background colour.
inline QRect InkBox(const QImage& image, QRgb background) {
  QRect ink;
  for (int y = 0; y < std::min(100, image.height()); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if ((image.pixel(x, y) & 0xFFFFFF) != (background & 0xFFFFFF)) ink |= QRect(x, y, 1, 1);
    }
  }
  return ink;
}

// How many pixels of the date line's ink box differ between `face` and `alone`.
inline int DateLineDamage(const QImage& face, const QImage& alone, QRgb background) {
  const QRect box = InkBox(alone, background);
  if (box.height() < 10) return -1;  // no date line was drawn
  int differing = 0;
  for (int y = box.top(); y <= box.bottom(); ++y) {
    for (int x = box.left(); x <= box.right(); ++x) {
      differing += (face.pixel(x, y) & 0xFFFFFF) != (alone.pixel(x, y) & 0xFFFFFF);
    }
  }
  return differing;
}

}  // namespace chimewell::testing
