#pragma once
// The busy-desktop watcher of a Linux desktop: calls from the sound server, "do not disturb"
// from the session bus, joined into one state.
#include <functional>
#include <memory>
#include <mutex>

#include "core/fault.h"
#include "platform/desktop_busy_watcher.h"
#include "platform/linux/pulse_call_watcher.h"
#include "platform/linux/session_dnd_watcher.h"

namespace chimewell {

// Owned by the composition root. The state is written by the two watching threads and read by
// anyone, under `state_mutex_`; `notify_mutex_` keeps the changes told in the order they
// happened. Destruction stops and joins both threads.
class LinuxDesktopBusyWatcher final : public DesktopBusyWatcher {
 public:
  // `report` is told of a fault on a watching thread.
  explicit LinuxDesktopBusyWatcher(FaultReport report = {});

  void Start(std::function<void(DesktopBusyState)> changed,
             std::function<void(BusyUnavailable)> unavailable) override;
  DesktopBusyState Current() const override;

 private:
  void Update(bool DesktopBusyState::*part, bool on);
  void Unavailable(BusyUnavailable reason);

  FaultReport report_;
  std::function<void(DesktopBusyState)> changed_;
  std::function<void(BusyUnavailable)> unavailable_;
  std::mutex notify_mutex_;
  mutable std::mutex state_mutex_;
  DesktopBusyState state_;  // guarded by state_mutex_
  // Last, so that their threads end before what they call goes.
  PulseCallWatcher calls_;
  SessionDndWatcher quiet_;
};

std::unique_ptr<DesktopBusyWatcher> OpenDesktopBusyWatcher(FaultReport report);

}  // namespace chimewell
