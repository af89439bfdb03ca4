#include "ui/qt_canvas.h"

#include <gtest/gtest.h>

#include <QColor>
#include <cstdlib>

#include "display/clock_face.h"
#include "face_reference.h"
#include "support/fake_clock.h"

namespace chimewell {
namespace {

TDateTime At(int hour, int minute, int second) {
  return *TryEncodeDateTime({2024, 3, 15, hour, minute, second, 0});
}

struct Box {
  int left, top, right, bottom;  // right and bottom excluded
};

int CountPixels(const QImage& image, const Box& box, QColor colour) {
  int n = 0;
  for (int y = box.top; y < box.bottom; ++y) {
    for (int x = box.left; x < box.right; ++x) n += image.pixelColor(x, y) == colour;
  }
  return n;
}

// The rightmost column in the box holding a pixel of the colour, or -1.
int RightmostColumn(const QImage& image, const Box& box, QColor colour) {
  for (int x = box.right - 1; x >= box.left; --x) {
    for (int y = box.top; y < box.bottom; ++y) {
      if (image.pixelColor(x, y) == colour) return x;
    }
  }
  return -1;
}

// Pixels that differ by more than the glyph rasteriser's own variation between two renderings
// of the same text (edge smoothing may differ by a few levels).
int CountDifferences(const QImage& a, const QImage& b, int tolerance = 0) {
  if (a.size() != b.size()) return -1;
  int n = 0;
  for (int y = 0; y < a.height(); ++y) {
    for (int x = 0; x < a.width(); ++x) {
      const QColor p = a.pixelColor(x, y);
      const QColor q = b.pixelColor(x, y);
      n += std::abs(p.red() - q.red()) > tolerance || std::abs(p.green() - q.green()) > tolerance ||
           std::abs(p.blue() - q.blue()) > tolerance;
    }
  }
  return n;
}

const QColor kBackground(196, 228, 255);
const QColor kRed(255, 0, 0);
const QColor kBlue(0, 0, 255);
const QColor kBlack(0, 0, 0);
const QColor kSeconds(34, 34, 178);
// Where the default layout puts the hour and minute, the date line and the seconds.
const Box kDigits{8, 20, 391, 150};
const Box kDate{16, 16, 391, 40};
const Box kSecondsBox{200, 195, 391, 240};

class QtCanvasTest : public ::testing::Test {
 protected:
  const QImage& DrawAt(TDateTime t) {
    clock_.Set(t);
    DrawClockFace(canvas_, settings_, state_, clock_);
    return canvas_.Image();
  }

  QtCanvas canvas_{391, 260};
  ClockSettings settings_;
  ClockFaceState state_;
  chimewell::testing::FakeClock clock_;
};

TEST_F(QtCanvasTest, MorningFaceInDefaultColours) {
  const QImage& image = DrawAt(At(9, 5, 7));
  EXPECT_EQ(image.pixelColor(2, 2), kBackground);
  EXPECT_EQ(image.pixelColor(390, 259), kBackground);
  EXPECT_GT(CountPixels(image, kDigits, kRed), 1000);
  EXPECT_EQ(CountPixels(image, kDigits, kBlue), 0);
}

TEST_F(QtCanvasTest, DateLineKeepsEveryPixelUnderTheDigitsInTheDefaultLayout) {
  // The canvas's own face, a Latin face with Japanese glyphs from the fallback, and a Japanese
  // face whose 80-point digits climb into the date line's rows at the default positions.
  for (const char* face : {"", "DejaVu Sans", "IPAGothic", "IPAPGothic"}) {
    settings_.DateName = settings_.DigitName = face;
    state_ = ClockFaceState{};
    const auto late = [](int second) {
      return *TryEncodeDateTime({2026, 12, 7, 22, 3, second, 0});
    };
    const QImage alone = testing::DateLineAlone(settings_, late(5), {391, 260});
    EXPECT_EQ(testing::DateLineDamage(DrawAt(late(5)), alone, kBackground.rgb()), 0)
        << "full drawing, face '" << face << "'";
    for (int second = 6; second < 10; ++second) DrawAt(late(second));
    EXPECT_EQ(testing::DateLineDamage(canvas_.Image(), alone, kBackground.rgb()), 0)
        << "after repaints, face '" << face << "'";
  }
}

TEST_F(QtCanvasTest, AfternoonDigitsTurnBlue) {
  const QImage& image = DrawAt(At(15, 7, 42));
  EXPECT_EQ(image.pixelColor(2, 2), kBackground);
  EXPECT_GT(CountPixels(image, kDigits, kBlue), 1000);
  EXPECT_EQ(CountPixels(image, kDigits, kRed), 0);
}

TEST_F(QtCanvasTest, SecondsEndJustBeforeSecX) {
  for (int second : {7, 48}) {
    state_.FullRedrawPending = true;
    const int right = RightmostColumn(DrawAt(At(9, 5, second)), kSecondsBox, kSeconds);
    EXPECT_LT(right, settings_.SecX) << second;
    EXPECT_GE(right, settings_.SecX - 6) << second;
  }
}

TEST_F(QtCanvasTest, InPlaceRepaintLeavesNoTraceOfThePreviousSecond) {
  DrawAt(At(9, 5, 58));
  const QImage repainted = DrawAt(At(9, 5, 59));
  ASSERT_FALSE(state_.FullRedrawPending);

  QtCanvas fresh(391, 260);
  ClockFaceState fresh_state;
  clock_.Set(At(9, 5, 59));
  DrawClockFace(fresh, settings_, fresh_state, clock_);
  EXPECT_EQ(CountDifferences(repainted, fresh.Image(), 16), 0);
}

TEST_F(QtCanvasTest, DebugGridLinesInTheirColours) {
  state_.DebugGrid = true;
  const QImage& image = DrawAt(At(9, 5, 7));
  EXPECT_EQ(image.pixelColor(5, 0), kRed);       // row 0
  EXPECT_EQ(image.pixelColor(5, 100), kRed);     // row 10
  EXPECT_EQ(image.pixelColor(5, 250), kBlue);    // row 25
  EXPECT_EQ(image.pixelColor(390, 255), kBlue);  // column 39
  EXPECT_EQ(image.pixelColor(5, 255), kBackground);
}

TEST_F(QtCanvasTest, ResizeKeepsTheDrawingAndFillsTheNewAreaWithTheBackground) {
  DrawAt(At(9, 5, 7));
  const QImage before = canvas_.Image().copy();
  canvas_.Resize(500, 300);
  EXPECT_EQ(canvas_.Width(), 500);
  EXPECT_EQ(CountDifferences(canvas_.Image().copy(0, 0, 391, 260), before), 0);
  EXPECT_EQ(canvas_.Image().pixelColor(450, 280), kBackground);
}

}  // namespace
}  // namespace chimewell
