#pragma once
// The main window's one-shot timer on a precise QTimer.
#include <QTimer>

#include "platform/timer.h"

namespace chimewell {

// Lives on the UI thread and fires there. Precise, so a shot armed for the next full second
// lands within a millisecond or two of it rather than Qt's default 5 % slack.
class QtTimer final : public Timer {
 public:
  QtTimer();

  void Arm(int ms) override;
  void Disable() override { timer_.stop(); }
  bool Enabled() const override { return timer_.isActive(); }

 private:
  QTimer timer_;
};

}  // namespace chimewell
