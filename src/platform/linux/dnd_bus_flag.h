#pragma once
// A yes/no setting that a service on the session bus holds (a notification server's "do not
// disturb"): read when the service appears, followed through its change signal, taken as "no"
// while the service is absent.
#include <gio/gio.h>

#include <functional>
#include <string>

#include "core/fault.h"

namespace chimewell {

// What a change signal of the service means for the flag.
enum class FlagSignal { kNone, kOn, kOff, kReadAgain };

// Where a service keeps its flag and how it tells of changes.
struct BusFlagSpec {
  const char* name;  // the service's well-known bus name
  const char* path;  // its object
  const char* read_interface;
  const char* read_method;  // answers (v) holding a boolean
  GVariant* (*read_arguments)();
  const char* signal_interface;  // every signal of it on `path` goes to `read_signal`
  const char* signal_arg0;       // only those whose first argument is this
  FlagSignal (*read_signal)(const char* member, GVariant* parameters);
};

// Lives on the thread that iterates the thread-default main context it was made under; all its
// callbacks run there.
class BusFlagWatch {
 public:
  BusFlagWatch(GDBusConnection* connection, const BusFlagSpec& spec,
               std::function<void(bool)> changed, FaultReport report);
  ~BusFlagWatch();
  BusFlagWatch(const BusFlagWatch&) = delete;
  BusFlagWatch& operator=(const BusFlagWatch&) = delete;

 private:
  static void OnAppeared(GDBusConnection*, const gchar*, const gchar* owner, gpointer self);
  static void OnVanished(GDBusConnection*, const gchar*, gpointer self);
  static void OnSignal(GDBusConnection*, const gchar* sender, const gchar*, const gchar*,
                       const gchar* member, GVariant* parameters, gpointer self);
  static void OnRead(GObject* connection, GAsyncResult* result, gpointer self);
  void Read();
  void Set(bool on);
  void Guarded(const char* where, const std::function<void()>& step) const;

  GDBusConnection* connection_;
  const BusFlagSpec& spec_;
  std::function<void(bool)> changed_;
  FaultReport report_;
  GCancellable* cancellable_;
  guint name_watch_ = 0;
  guint subscription_ = 0;
  std::string owner_;  // the service's unique name while it is there
  bool on_ = false;
};

// A connection of its own to the session bus (GLib's shared one would end the program when the
// bus goes away); null when there is no bus to reach. The caller closes and unrefs it.
GDBusConnection* OpenPrivateSessionBus();

}  // namespace chimewell
