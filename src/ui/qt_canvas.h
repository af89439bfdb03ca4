#pragma once
// The clock face's Canvas on a Qt image, which the main window shows.
#include <QFont>
#include <QImage>
#include <QRect>
#include <vector>

#include "display/canvas.h"

namespace chimewell {

class QtCanvas final : public Canvas {
 public:
  // Needs a QGuiApplication. The image starts filled with white.
  QtCanvas(int width, int height);

  // Changes the image size and keeps what was drawn; the uncovered area gets the colour of the
  // last full fill until the next full drawing repaints it.
  void Resize(int width, int height);
  const QImage& Image() const { return image_; }
  // The area painted since the last call, so only that needs to reach the screen.
  QRect TakeDirtyRect();

  int Width() const override { return image_.width(); }
  int Height() const override { return image_.height(); }
  void FillRect(int x, int y, int width, int height, Colour colour) override;
  void DrawLine(int x1, int y1, int x2, int y2, Colour colour) override;
  void SetFontFace(std::string_view family, int charset) override;
  void SetFontSize(int points) override;
  void SetFontStyle(bool bold, bool italic) override;
  void SetTextColour(Colour colour) override { text_colour_ = colour; }
  void SetTextBackground(Colour colour) override { text_background_ = colour; }
  int TextWidth(std::string_view text) override;
  void TextOut(int x, int y, std::string_view text) override;

 private:
  Colour text_colour_ = 0;
  Colour text_background_ = 0xFFFFFF;
  Colour last_full_fill_ = 0xFFFFFF;  // declared before image_, which starts in this colour
  QImage image_;
  QFont font_;
  QRect dirty_;
  // The inked box of each text drawn since the last full fill, with the row its cell starts.
  struct InkedText {
    int line;
    QRect ink;
  };
  std::vector<InkedText> inked_;
};

// 0x00BBGGRR as a Qt colour.
QColor ToQColor(Colour colour);

}  // namespace chimewell
