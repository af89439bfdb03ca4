#include "platform/linux/session_dnd_watcher.h"

#include <pthread.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "platform/linux/dnd_bus_flag.h"
#include "platform/linux/dnd_flag_specs.h"
#include "platform/linux/dnd_gnome_banners.h"

namespace chimewell {

SessionDndWatcher::SessionDndWatcher(FaultReport report)
    : report_(std::move(report)), context_(g_main_context_new()) {}

SessionDndWatcher::~SessionDndWatcher() {
  if (thread_.joinable()) {
    stopping_ = true;
    g_main_context_wakeup(context_);
    thread_.join();
  }
  g_main_context_unref(context_);
}

bool SessionDndWatcher::SessionBusExists() {
  const char* address = std::getenv("DBUS_SESSION_BUS_ADDRESS");
  if (address != nullptr && *address != '\0') return true;
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  std::error_code error;
  return runtime != nullptr && *runtime != '\0' &&
         std::filesystem::is_socket(std::filesystem::path(runtime) / "bus", error);
}

void SessionDndWatcher::Start(std::function<void(bool)> quiet, std::function<void()> unavailable) {
  quiet_changed_ = std::move(quiet);
  unavailable_ = std::move(unavailable);
  if (!SessionBusExists()) {
    if (unavailable_) unavailable_();
    return;
  }
  thread_ = std::thread([this] {
    RunCatchingFaults(
        "do-not-disturb watch", [this] { Run(); }, report_);
  });
}

void SessionDndWatcher::Run() {
  pthread_setname_np(pthread_self(), "busy-dnd");
  g_main_context_push_thread_default(context_);
  GDBusConnection* connection = OpenPrivateSessionBus();
  if (connection == nullptr) {
    if (unavailable_) unavailable_();
  } else {
    Watch(connection);
    g_dbus_connection_close_sync(connection, nullptr, nullptr);
    g_object_unref(connection);
  }
  // Cancelled calls and dropped subscriptions finish on this context.
  while (g_main_context_iteration(context_, FALSE)) {
  }
  g_main_context_pop_thread_default(context_);
}

void SessionDndWatcher::Watch(GDBusConnection* connection) {
  const BusFlagWatch notifications(
      connection, NotificationsInhibitedFlag(), [this](bool on) { Set(kNotifications, on); },
      report_);
  const BusFlagWatch xfce(
      connection, XfceDoNotDisturbFlag(), [this](bool on) { Set(kXfce, on); }, report_);
  const GnomeBannersWatch gnome([this](bool on) { Set(kGnome, on); });
  while (!stopping_) g_main_context_iteration(context_, TRUE);
}

void SessionDndWatcher::Set(Source source, bool on) {
  on_[source] = on;
  const bool quiet = std::ranges::any_of(on_, [](bool b) { return b; });
  if (quiet == quiet_) return;
  quiet_ = quiet;
  if (quiet_changed_) quiet_changed_(quiet);
}

}  // namespace chimewell
