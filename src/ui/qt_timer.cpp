#include "ui/qt_timer.h"

#include <QDateTime>
#include <algorithm>
#include <cstdint>

namespace chimewell {

QtTimer::QtTimer() {
  elapsed_.setSingleShot(true);
  elapsed_.setTimerType(Qt::PreciseTimer);
  QObject::connect(&elapsed_, &QTimer::timeout, [this] { Fire(); });
  if (deadline_.Fd() >= 0) {
    deadline_watch_ = std::make_unique<QSocketNotifier>(deadline_.Fd(), QSocketNotifier::Read);
    deadline_watch_->setEnabled(false);
    QObject::connect(deadline_watch_.get(), &QSocketNotifier::activated, [this] { OnDeadline(); });
  }
}

void QtTimer::Arm(int ms) {
  Disable();
  elapsed_.start(std::max(ms, 0));
}

void QtTimer::ArmAt(WallMoment at) {
  Disable();
  if (deadline_watch_ && deadline_.Arm(at)) {
    deadline_armed_ = true;
    deadline_watch_->setEnabled(true);
    return;
  }
  // Without a kernel deadline the elapsed distance is the best there is.
  const int64_t now = QDateTime::currentMSecsSinceEpoch();
  elapsed_.start(static_cast<int>(std::clamp<int64_t>(at.UnixMs() - now, 0, INT32_MAX)));
}

void QtTimer::Disable() {
  elapsed_.stop();
  if (deadline_armed_) {
    deadline_armed_ = false;
    deadline_watch_->setEnabled(false);
    deadline_.Disarm();
  }
}

void QtTimer::OnDeadline() {
  // A readiness the loop saw before the deadline was re-armed is stale: keep waiting.
  if (!deadline_.Acknowledge()) return;
  // Reached, or the clock was set: either way a one-shot that has now fired.
  Disable();
  Fire();
}

}  // namespace chimewell
