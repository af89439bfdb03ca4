#pragma once
// The main window's one-shot timer: a precise QTimer for elapsed time, a kernel wall-clock
// deadline watched by the event loop for moments of the day.
#include <QSocketNotifier>
#include <QTimer>
#include <memory>

#include "platform/linux/wall_clock_timer_fd.h"
#include "platform/timer.h"

namespace chimewell {

// Lives on the UI thread and fires there. The QTimer is precise, so a shot armed for elapsed
// time lands within a millisecond or two rather than Qt's default 5 % slack.
class QtTimer final : public Timer {
 public:
  QtTimer();

  void Arm(int ms) override;
  void ArmAt(WallMoment at) override;
  void Disable() override;
  bool Enabled() const override { return elapsed_.isActive() || deadline_armed_; }

 private:
  void OnDeadline();

  QTimer elapsed_;
  WallClockTimerFd deadline_;
  std::unique_ptr<QSocketNotifier> deadline_watch_;
  bool deadline_armed_ = false;
};

}  // namespace chimewell
