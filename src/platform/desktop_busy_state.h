#pragma once
// What the desktop is busy with, as its watcher reports it to the application: a call on the
// sound server, or the desktop's Do Not Disturb.
namespace chimewell {

struct DesktopBusyState {
  bool in_call = false;
  bool do_not_disturb = false;

  bool Busy() const { return in_call || do_not_disturb; }
  bool operator==(const DesktopBusyState&) const = default;
};

// Why one half of the watching cannot be done; the application words it for the user.
enum class BusyUnavailable {
  kNoSoundServer,  // calls cannot be noticed: no sound server answers
  kNoSessionBus,   // Do Not Disturb cannot be noticed: there is no session bus
};

}  // namespace chimewell
