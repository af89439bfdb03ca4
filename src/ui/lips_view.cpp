#include "ui/lips_view.h"

#include <QPainter>
#include <array>

namespace chimewell {
namespace {

constexpr int kFrameMs = 120;
// How far the mouth is open in each frame, as a share of its full height.
constexpr std::array<double, 6> kOpening = {0.15, 0.55, 0.9, 0.6, 0.3, 0.7};

}  // namespace

LipsView::LipsView(QWidget* parent) : QWidget(parent) {
  setAttribute(Qt::WA_TransparentForMouseEvents);  // clicks still reach the clock
  animation_.setInterval(kFrameMs);
  QObject::connect(&animation_, &QTimer::timeout, [this] {
    frame_ = (frame_ + 1) % static_cast<int>(kOpening.size());
    update();
  });
  hide();
}

void LipsView::SetShowing(bool showing) {
  if (showing) {
    frame_ = 0;
    setVisible(true);
    animation_.start();
  } else {
    animation_.stop();
    setVisible(false);
  }
}

void LipsView::paintEvent(QPaintEvent* /*event*/) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.fillRect(rect(), QColor(255, 236, 220));
  const double w = width() * 0.5;
  const double h = height() * 0.4;
  const QPointF centre(width() / 2.0, height() / 2.0);
  // Lips, then the open mouth inside them.
  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor(200, 40, 60));
  painter.drawEllipse(centre, w / 2, h / 2 * std::max(kOpening[frame_], 0.3));
  painter.setBrush(QColor(70, 0, 10));
  painter.drawEllipse(centre, w / 2 * 0.8, h / 2 * kOpening[frame_] * 0.8);
}

}  // namespace chimewell
