#include "ui/qt_timer.h"

#include <algorithm>

namespace chimewell {

QtTimer::QtTimer() {
  timer_.setSingleShot(true);
  timer_.setTimerType(Qt::PreciseTimer);
  QObject::connect(&timer_, &QTimer::timeout, [this] { Fire(); });
}

void QtTimer::Arm(int ms) { timer_.start(std::max(ms, 0)); }

}  // namespace chimewell
