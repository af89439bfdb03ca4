#include "platform/linux/desktop_busy_watcher_linux.h"

namespace chimewell {

LinuxDesktopBusyWatcher::LinuxDesktopBusyWatcher(FaultReport report)
    : report_(report), calls_(report), quiet_(report) {}

void LinuxDesktopBusyWatcher::Start(std::function<void(DesktopBusyState)> changed,
                                    std::function<void(BusyUnavailable)> unavailable) {
  changed_ = std::move(changed);
  unavailable_ = std::move(unavailable);
  calls_.Start([this](bool on) { Update(&DesktopBusyState::in_call, on); },
               [this] { Unavailable(BusyUnavailable::kNoSoundServer); });
  quiet_.Start([this](bool on) { Update(&DesktopBusyState::do_not_disturb, on); },
               [this] { Unavailable(BusyUnavailable::kNoSessionBus); });
}

DesktopBusyState LinuxDesktopBusyWatcher::Current() const {
  const std::lock_guard lock(state_mutex_);
  return state_;
}

void LinuxDesktopBusyWatcher::Update(bool DesktopBusyState::*part, bool on) {
  const std::lock_guard order(notify_mutex_);
  DesktopBusyState now;
  {
    const std::lock_guard lock(state_mutex_);
    if (state_.*part == on) return;
    state_.*part = on;
    now = state_;
  }
  if (changed_)
    RunCatchingFaults(
        "busy desktop", [&] { changed_(now); }, report_);
}

void LinuxDesktopBusyWatcher::Unavailable(BusyUnavailable reason) {
  if (unavailable_)
    RunCatchingFaults(
        "busy desktop", [&] { unavailable_(reason); }, report_);
}

std::unique_ptr<DesktopBusyWatcher> OpenDesktopBusyWatcher(FaultReport report) {
  return std::make_unique<LinuxDesktopBusyWatcher>(std::move(report));
}

}  // namespace chimewell
