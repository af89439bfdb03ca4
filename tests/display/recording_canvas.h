#pragma once
// A canvas that records every drawing call with the text settings in force at that moment.
#include <string>
#include <vector>

#include "display/canvas.h"

namespace chimewell::testing {

struct TextSettings {
  std::string face = "(default)";
  int charset = -1;
  int size = 0;
  bool bold = false;
  bool italic = false;
  Colour colour = 0;
  Colour background = 0;
};

struct DrawCall {
  enum Kind { kFill, kLine, kText } kind;
  int x = 0, y = 0, x2 = 0, y2 = 0;  // fill: x2, y2 are width and height
  Colour colour = 0;                 // fill and line colour
  std::string text;
  TextSettings font;
};

class RecordingCanvas final : public Canvas {
 public:
  RecordingCanvas(int width = 391, int height = 260) : width_(width), height_(height) {}

  int Width() const override { return width_; }
  int Height() const override { return height_; }
  void FillRect(int x, int y, int w, int h, Colour c) override {
    calls.push_back({DrawCall::kFill, x, y, w, h, c, {}, font_});
  }
  void DrawLine(int x1, int y1, int x2, int y2, Colour c) override {
    calls.push_back({DrawCall::kLine, x1, y1, x2, y2, c, {}, font_});
  }
  void SetFontFace(std::string_view family, int charset) override {
    font_.face = family;
    font_.charset = charset;
  }
  void SetFontSize(int points) override { font_.size = points; }
  void SetFontStyle(bool bold, bool italic) override {
    font_.bold = bold;
    font_.italic = italic;
  }
  void SetTextColour(Colour c) override { font_.colour = c; }
  void SetTextBackground(Colour c) override { font_.background = c; }
  // Half the point size per byte: wide enough to tell sizes and lengths apart.
  int TextWidth(std::string_view text) override {
    return static_cast<int>(text.size()) * font_.size / 2;
  }
  void TextOut(int x, int y, std::string_view text) override {
    calls.push_back({DrawCall::kText, x, y, 0, 0, 0, std::string(text), font_});
  }

  std::vector<DrawCall> Of(DrawCall::Kind kind) const {
    std::vector<DrawCall> out;
    for (const auto& c : calls) {
      if (c.kind == kind) out.push_back(c);
    }
    return out;
  }

  std::vector<DrawCall> calls;

 private:
  int width_;
  int height_;
  TextSettings font_;
};

}  // namespace chimewell::testing
