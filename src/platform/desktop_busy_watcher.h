#pragma once
// Tells whether the desktop is busy: the user is in a call (another program records from a
// microphone, or plays a phone stream), or has asked for quiet (Do Not Disturb). Watched by
// events from the sound server and the session bus, never by polling.
#include <functional>

#include "platform/desktop_busy_state.h"

namespace chimewell {

class DesktopBusyWatcher {
 public:
  virtual ~DesktopBusyWatcher() = default;

  // Starts watching; called once. `changed` runs on a thread of the watcher's own each time the
  // state changes (it should only hand the state to the UI thread). `unavailable` runs at most
  // once per reason, on any thread, when that half cannot watch; that half then stays not busy.
  virtual void Start(std::function<void(DesktopBusyState)> changed,
                     std::function<void(BusyUnavailable)> unavailable) = 0;
  // The latest state; safe from any thread.
  virtual DesktopBusyState Current() const = 0;
};

}  // namespace chimewell
