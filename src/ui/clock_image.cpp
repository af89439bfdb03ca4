#include "ui/clock_image.h"

#include <QContextMenuEvent>
#include <QMouseEvent>
#include <QPainter>

namespace chimewell {

ClockImage::ClockImage(QWidget* parent) : QWidget(parent), canvas_(1, 1) {
  // The bitmap covers the whole widget, so Qt need not clear behind it.
  setAttribute(Qt::WA_OpaquePaintEvent);
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
