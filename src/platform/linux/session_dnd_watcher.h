#pragma once
// Notices "do not disturb" on the desktop through the session bus: the notification server's
// Inhibited property (KDE), GNOME's banner setting and Xfce's notification daemon. The
// watching thread sleeps in its own GLib main context until the bus or the settings speak.
#include <array>
#include <atomic>
#include <functional>
#include <thread>

#include "core/fault.h"

// GLib's types, named without its headers so that users of this one need none.
typedef struct _GMainContext GMainContext;        // NOLINT(modernize-use-using)
typedef struct _GDBusConnection GDBusConnection;  // NOLINT(modernize-use-using)

namespace chimewell {

// Owned by the busy-desktop watcher. Its thread alone touches the bus and the flags; the owner
// only starts it and, on destruction, stops and joins it.
class SessionDndWatcher {
 public:
  // `report` is told of a fault on the watching thread.
  explicit SessionDndWatcher(FaultReport report = {});
  ~SessionDndWatcher();
  SessionDndWatcher(const SessionDndWatcher&) = delete;
  SessionDndWatcher& operator=(const SessionDndWatcher&) = delete;

  // Called once. `quiet` runs on the watching thread when the answer changes; `unavailable`
  // runs once, on the calling or the watching thread, when there is no session bus.
  void Start(std::function<void(bool)> quiet, std::function<void()> unavailable);

  // A session bus is said to exist: by its address in the environment, or by the socket in the
  // user's runtime folder. Without one, GLib would try to start a bus of its own.
  static bool SessionBusExists();

 private:
  enum Source { kNotifications, kGnome, kXfce, kSourceCount };

  void Run();
  void Watch(GDBusConnection* connection);
  void Set(Source source, bool on);

  FaultReport report_;
  std::function<void(bool)> quiet_changed_;
  std::function<void()> unavailable_;
  GMainContext* context_;
  std::atomic<bool> stopping_{false};
  std::array<bool, kSourceCount> on_{};  // watching thread only
  bool quiet_ = false;                   // watching thread only
  std::thread thread_;
};

}  // namespace chimewell
