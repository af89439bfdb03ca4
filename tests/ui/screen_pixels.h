#pragma once
// Reading the X screen back for pixel checks, as a user would see it.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <functional>

namespace chimewell::testing {

inline QImage GrabScreen(QRect area) {
  return QGuiApplication::primaryScreen()
      ->grabWindow(0, area.x(), area.y(), area.width(), area.height())
      .toImage()
      .convertToFormat(QImage::Format_RGB32);
}

// Grabs `area` until `ready` accepts it (the X server may not have the latest paint yet).
// The guard only keeps a broken test from hanging; the last grab is returned either way.
inline QImage GrabWhen(QRect area, const std::function<bool(const QImage&)>& ready,
                       int guard_ms = 20000) {
  QElapsedTimer elapsed;
  elapsed.start();
  QImage shot = GrabScreen(area);
  while (!ready(shot) && elapsed.elapsed() < guard_ms) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    shot = GrabScreen(area);
  }
  return shot;
}

inline int CountPixels(const QImage& image, QRect area, QRgb colour) {
  int count = 0;
  area = area.intersected(image.rect());
  for (int y = area.top(); y <= area.bottom(); ++y) {
    for (int x = area.left(); x <= area.right(); ++x) {
      if ((image.pixel(x, y) & 0xFFFFFF) == (colour & 0xFFFFFF)) ++count;
    }
  }
  return count;
}

inline int CountDarkPixels(const QImage& image, QRect area) {
  int count = 0;
  area = area.intersected(image.rect());
  for (int y = area.top(); y <= area.bottom(); ++y) {
    for (int x = area.left(); x <= area.right(); ++x) {
      const QRgb p = image.pixel(x, y);
      if (qRed(p) < 100 && qGreen(p) < 100 && qBlue(p) < 100) ++count;
    }
  }
  return count;
}

inline constexpr QRgb kDefaultBackground = 0xC4E4FF;  // RGB 196, 228, 255

}  // namespace chimewell::testing
