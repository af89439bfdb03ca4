#include "ui/clock_image.h"

#include <QContextMenuEvent>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

namespace chimewell {

ClockImage::ClockImage(QWidget* parent) : QWidget(parent), canvas_(1, 1) {
  // The bitmap covers the whole widget, so Qt need not clear behind it.
  setAttribute(Qt::WA_OpaquePaintEvent);
}

namespace {

// The smallest rectangle inside `area` that holds every pixel where `a` and `b` differ.
QRect ChangedWithin(const QImage& a, const QImage& b, QRect area) {
  int top = -1, bottom = -1, left = area.right() + 1, right = area.left() - 1;
  for (int y = area.top(); y <= area.bottom(); ++y) {
    const auto* row_a = reinterpret_cast<const QRgb*>(a.constScanLine(y));
    const auto* row_b = reinterpret_cast<const QRgb*>(b.constScanLine(y));
    int x = area.left();
    while (x <= area.right() && row_a[x] == row_b[x]) ++x;
    if (x > area.right()) continue;
    int last = area.right();
    while (row_a[last] == row_b[last]) --last;
    if (top < 0) top = y;
    bottom = y;
    left = std::min(left, x);
    right = std::max(right, last);
  }
  return top < 0 ? QRect() : QRect(QPoint(left, top), QPoint(right, bottom));
}

}  // namespace

void ClockImage::PresentChanges() {
  const QImage& image = canvas_.Image();
  QRect dirty = canvas_.TakeDirtyRect();
  if (on_screen_.size() != image.size() || on_screen_.format() != image.format()) {
    dirty = image.rect();
  } else if (!dirty.isEmpty()) {
    dirty = ChangedWithin(image, on_screen_, dirty);
  }
  last_presented_ = dirty;
  if (dirty.isEmpty()) return;
  on_screen_ = image.copy();
  update(dirty);
}

void ClockImage::paintEvent(QPaintEvent* /*event*/) {
  QPainter painter(this);
  const QImage& image = canvas_.Image();
  painter.drawImage(0, 0, image);
  // Where the bitmap does not reach yet (a resize before the next drawing) the window is white.
  if (width() > image.width()) {
    painter.fillRect(image.width(), 0, width() - image.width(), height(), Qt::white);
  }
  if (height() > image.height()) {
    painter.fillRect(0, image.height(), width(), height() - image.height(), Qt::white);
  }
}

void ClockImage::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && OnDoubleClick) OnDoubleClick();
}

void ClockImage::contextMenuEvent(QContextMenuEvent* event) {
  if (OnMenuRequest) OnMenuRequest(event->globalPos());
}

}  // namespace chimewell
