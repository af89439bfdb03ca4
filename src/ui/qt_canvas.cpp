#include "ui/qt_canvas.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QPainter>
#include <QRegion>
#include <QString>
#include <QStringList>
#include <algorithm>

#include "ui/ui_texts.h"

namespace chimewell {
namespace {

// Point sizes are laid out for a 96-dpi screen, so the image keeps that resolution whatever
// the display's: a face of 80 points is 107 pixels high on every machine.
constexpr int kDotsPerMeter96Dpi = 3780;
// Rows of smoothing that glyph edges may reach beyond their outlines.
constexpr int kInkMargin = 2;

QString FromUtf8(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QImage BlankImage(int width, int height, Colour fill) {
  QImage image(std::max(width, 1), std::max(height, 1), QImage::Format_RGB32);
  image.setDotsPerMeterX(kDotsPerMeter96Dpi);
  image.setDotsPerMeterY(kDotsPerMeter96Dpi);
  image.fill(ToQColor(fill));
  return image;
}

// The face of a text whose settings name none. The face's default positions are laid out for
// a Latin face, whose line cell puts the top of the digits well below the line's top, so the
// 80-point digits keep clear of the date line above them; a Japanese face's digits stand almost
// as tall as its cell and climb into it. Kana and kanji come from the system's Japanese face.
QFont StandardClockFont() {
  QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
  QStringList families;
  for (const char* family : ui_texts::kClockFontFamilies) families << QString::fromUtf8(family);
  font.setFamilies(families);
  font.setStyleHint(QFont::SansSerif);
  return font;
}

}  // namespace

QColor ToQColor(Colour colour) {
  return QColor(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
}

QtCanvas::QtCanvas(int width, int height)
    : image_(BlankImage(width, height, last_full_fill_)), font_(StandardClockFont()) {}

void QtCanvas::Resize(int width, int height) {
  if (width == image_.width() && height == image_.height()) return;
  QImage resized = BlankImage(width, height, last_full_fill_);
  QPainter painter(&resized);
  painter.drawImage(0, 0, image_);
  painter.end();
  image_ = std::move(resized);
}

QRect QtCanvas::TakeDirtyRect() {
  const QRect dirty = dirty_.intersected(image_.rect());
  dirty_ = QRect();
  return dirty;
}

void QtCanvas::FillRect(int x, int y, int width, int height, Colour colour) {
  dirty_ |= QRect(x, y, width, height);
  if (x <= 0 && y <= 0 && x + width >= image_.width() && y + height >= image_.height()) {
    last_full_fill_ = colour;
    inked_.clear();  // every text is gone
  }
  QPainter painter(&image_);
  painter.fillRect(x, y, width, height, ToQColor(colour));
}

void QtCanvas::DrawLine(int x1, int y1, int x2, int y2, Colour colour) {
  QPainter painter(&image_);
  painter.setPen(QPen(ToQColor(colour), 1));
  painter.drawLine(x1, y1, x2, y2);
  dirty_ |=
      QRect(QPoint(std::min(x1, x2), std::min(y1, y2)), QPoint(std::max(x1, x2), std::max(y1, y2)));
}

void QtCanvas::SetFontFace(std::string_view family, int /*charset*/) {
  // Qt picks glyphs per character and falls back to a covering face by itself, so the character
  // set only matters to the settings; the family name is all the font needs.
  font_.setFamily(FromUtf8(family));
}

void QtCanvas::SetFontSize(int points) { font_.setPointSize(std::max(points, 1)); }

void QtCanvas::SetFontStyle(bool bold, bool italic) {
  font_.setBold(bold);
  font_.setItalic(italic);
}

int QtCanvas::TextWidth(std::string_view text) {
  return QFontMetrics(font_, &image_).horizontalAdvance(FromUtf8(text));
}

void QtCanvas::TextOut(int x, int y, std::string_view text) {
  const QString qtext = FromUtf8(text);
  const QFontMetrics metrics(font_, &image_);
  const int baseline = y + metrics.ascent();
  const QRect ink = metrics.tightBoundingRect(qtext).translated(x, baseline);
  // The opaque band spans the rows that this text or any digit of the font can ink, not the
  // font's whole line height, so a text repainted in place covers the one before it.
  const QRect digits = metrics.tightBoundingRect(QStringLiteral("0123456789:"));
  const int top = std::max(y, std::min(ink.top(), baseline + digits.top()) - kInkMargin);
  const int bottom = std::min(y + metrics.height(),
                              std::max(ink.bottom(), baseline + digits.bottom()) + 1 + kInkMargin);
  const QRect band(x, top, metrics.horizontalAdvance(qtext), bottom - top);
  // Glyphs may overhang their advance (italics), so the ink's own box counts too.
  const QRect painted =
      band | metrics.boundingRect(qtext).translated(x, baseline).adjusted(-1, -1, 1, 1);

  // Where a large face's glyphs reach up into the text above (the 80-point digits of a Japanese
  // face climb into the date line at the default positions), the text drawn there first keeps
  // its ink: neither this text's band nor its glyphs may paint over a text on another line.
  // Clipping the glyphs too keeps every repaint in place identical, so edges never darken by
  // drawing twice. A text on the same line is this one's earlier state (the seconds move as
  // their width changes) or a neighbour it may cover, as opaque text always could.
  std::erase_if(inked_, [&](const InkedText& text) {
    return text.line == y && text.ink.intersects(painted);
  });
  QRegion area(painted);
  for (const InkedText& text : inked_) {
    if (text.line != y) area -= text.ink;
  }
  QPainter painter(&image_);
  painter.setClipRegion(area);
  painter.setFont(font_);
  painter.fillRect(band, ToQColor(text_background_));
  painter.setPen(ToQColor(text_colour_));
  painter.drawText(x, baseline, qtext);
  dirty_ |= painted;
  if (!ink.isEmpty()) inked_.push_back({y, ink});
}

}  // namespace chimewell
