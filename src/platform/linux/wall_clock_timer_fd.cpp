#include "platform/linux/wall_clock_timer_fd.h"

#include <sys/timerfd.h>
#include <unistd.h>

#include <cerrno>

namespace chimewell {

WallClockTimerFd::WallClockTimerFd()
    : fd_(timerfd_create(CLOCK_REALTIME, TFD_NONBLOCK | TFD_CLOEXEC)) {}

WallClockTimerFd::~WallClockTimerFd() {
  if (fd_ >= 0) close(fd_);
}

bool WallClockTimerFd::Arm(WallMoment at) {
  if (fd_ < 0) return false;
  Acknowledge();  // a stale notice would fire the new deadline early
  itimerspec spec{};
  // An all-zero value would disarm; the epoch itself is as good as any past moment.
  const int64_t us = at.UnixUs() > 0 ? at.UnixUs() : 1;
  spec.it_value.tv_sec = static_cast<time_t>(us / 1000000);
  spec.it_value.tv_nsec = static_cast<long>(us % 1000000) * 1000L;
  return timerfd_settime(fd_, TFD_TIMER_ABSTIME | TFD_TIMER_CANCEL_ON_SET, &spec, nullptr) == 0;
}

void WallClockTimerFd::Disarm() {
  if (fd_ < 0) return;
  const itimerspec off{};
  timerfd_settime(fd_, 0, &off, nullptr);
  Acknowledge();
}

bool WallClockTimerFd::Acknowledge() {
  if (fd_ < 0) return false;
  uint64_t expirations = 0;
  // Non-blocking: nothing pending gives EAGAIN; a clock set gives ECANCELED, which is a notice.
  const ssize_t got = read(fd_, &expirations, sizeof expirations);
  return got == static_cast<ssize_t>(sizeof expirations) || (got < 0 && errno == ECANCELED);
}

}  // namespace chimewell
