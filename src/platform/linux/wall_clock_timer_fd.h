#pragma once
// A wall-clock deadline in the kernel: a timerfd on CLOCK_REALTIME that becomes readable when
// the deadline passes (also during or after a suspend) or when the clock is set.
#include <cstdint>

#include "core/moments.h"

namespace chimewell {

// Owned by one thread, which watches Fd() in its event loop.
class WallClockTimerFd {
 public:
  WallClockTimerFd();
  ~WallClockTimerFd();
  WallClockTimerFd(const WallClockTimerFd&) = delete;
  WallClockTimerFd& operator=(const WallClockTimerFd&) = delete;

  // -1 when the kernel refused one; Arm then reports false.
  int Fd() const { return fd_; }
  // Arms for `at`; a moment already passed makes the descriptor readable at once.
  bool Arm(WallMoment at);
  void Disarm();
  // Takes the pending expiry or clock-set notice off the descriptor. False when there was none:
  // an event loop may report the descriptor readable after the notice it saw was taken.
  bool Acknowledge();

 private:
  int fd_ = -1;
};

}  // namespace chimewell
