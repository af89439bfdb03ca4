#include "ui/app_icon.h"

#include <QPainter>

namespace chimewell {

QPixmap ClockPicture(int size) {
  QPixmap picture(size, size);
  picture.fill(Qt::transparent);
  QPainter painter(&picture);
  painter.setRenderHint(QPainter::Antialiasing);
  const qreal pen = std::max(1.0, size / 16.0);
  const QRectF dial(pen, pen, size - 2 * pen, size - 2 * pen);
  painter.setPen(QPen(QColor(0, 0, 160), pen));
  painter.setBrush(QColor(196, 228, 255));
  painter.drawEllipse(dial);
  const QPointF centre = dial.center();
  painter.setPen(QPen(QColor(200, 0, 0), pen * 1.5, Qt::SolidLine, Qt::RoundCap));
  painter.drawLine(centre, centre + QPointF(0, -dial.height() * 0.36));  // minute hand at 12
  painter.drawLine(centre, centre + QPointF(dial.width() * 0.24, 0));    // hour hand at 3
  return picture;
}

QIcon ChimewellIcon() {
  QIcon icon;
  for (int size : {16, 22, 24, 32, 48, 64}) icon.addPixmap(ClockPicture(size));
  return icon;
}

}  // namespace chimewell
