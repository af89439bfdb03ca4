#pragma once
// A stand-in for a desktop's notification service on the test's own session bus: it owns the
// service's name and holds a "do not disturb" flag that the test flips, telling the change as
// the real service does. Either KDE's notification server (the Inhibited property) or Xfce's
// settings store (the notification daemon's /do-not-disturb).
#include <gio/gio.h>

#include <atomic>
#include <cstring>
#include <future>
#include <thread>

#include "platform/linux/dnd_bus_flag.h"

namespace chimewell::testing {

class FakeDndService {
 public:
  enum class Kind { kNotifications, kXfconf };

  // Connects to the session bus of the environment and takes the service's name; Ready() says
  // whether that worked.
  FakeDndService(Kind kind, bool on) : kind_(kind), on_(on), context_(g_main_context_new()) {
    std::promise<bool> ready;
    auto started = ready.get_future();
    thread_ = std::thread([this, &ready] { Run(ready); });
    ready_ = started.get();
  }
  ~FakeDndService() {
    stopping_ = true;
    g_main_context_wakeup(context_);
    thread_.join();
    g_main_context_unref(context_);
  }
  FakeDndService(const FakeDndService&) = delete;
  FakeDndService& operator=(const FakeDndService&) = delete;

  bool Ready() const { return ready_; }

  void Set(bool on) {
    on_ = on;
    if (kind_ == Kind::kNotifications) {
      g_dbus_connection_emit_signal(
          connection_, nullptr, kNotificationsPath, "org.freedesktop.DBus.Properties",
          "PropertiesChanged",
          g_variant_new_parsed("(%s, {'Inhibited': <%b>}, @as [])", kNotificationsName, on),
          nullptr);
    } else {
      g_dbus_connection_emit_signal(
          connection_, nullptr, kXfconfPath, kXfconfName, "PropertyChanged",
          g_variant_new_parsed("(%s, %s, <%b>)", "xfce4-notifyd", "/do-not-disturb", on), nullptr);
    }
    g_dbus_connection_flush_sync(connection_, nullptr, nullptr);
  }

 private:
  static constexpr char kNotificationsName[] = "org.freedesktop.Notifications";
  static constexpr char kNotificationsPath[] = "/org/freedesktop/Notifications";
  static constexpr char kXfconfName[] = "org.xfce.Xfconf";
  static constexpr char kXfconfPath[] = "/org/xfce/Xfconf";

  void Run(std::promise<bool>& ready) {
    g_main_context_push_thread_default(context_);
    connection_ = OpenPrivateSessionBus();
    const bool notifications = kind_ == Kind::kNotifications;
    GDBusNodeInfo* node = g_dbus_node_info_new_for_xml(
        notifications ? "<node><interface name='org.freedesktop.Notifications'>"
                        "<property name='Inhibited' type='b' access='read'/></interface></node>"
                      : "<node><interface name='org.xfce.Xfconf'><method name='GetProperty'>"
                        "<arg type='s' direction='in'/><arg type='s' direction='in'/>"
                        "<arg type='v' direction='out'/></method></interface></node>",
        nullptr);
    static const GDBusInterfaceVTable vtable{&OnMethodCall, &OnGetProperty, nullptr, {}};
    guint object = 0;
    bool owned = false;
    if (connection_ != nullptr) {
      object = g_dbus_connection_register_object(
          connection_, notifications ? kNotificationsPath : kXfconfPath, node->interfaces[0],
          &vtable, this, nullptr, nullptr);
      GVariant* reply = g_dbus_connection_call_sync(
          connection_, "org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus",
          "RequestName",
          g_variant_new("(su)", notifications ? kNotificationsName : kXfconfName, 4u),
          G_VARIANT_TYPE("(u)"), G_DBUS_CALL_FLAGS_NONE, -1, nullptr, nullptr);
      if (reply != nullptr) {
        guint32 result = 0;
        g_variant_get(reply, "(u)", &result);
        owned = result == 1;  // the primary owner
        g_variant_unref(reply);
      }
    }
    ready.set_value(owned);
    while (!stopping_) g_main_context_iteration(context_, TRUE);
    if (connection_ != nullptr) {
      g_dbus_connection_unregister_object(connection_, object);
      g_dbus_connection_close_sync(connection_, nullptr, nullptr);
      g_object_unref(connection_);
    }
    g_dbus_node_info_unref(node);
    while (g_main_context_iteration(context_, FALSE)) {
    }
    g_main_context_pop_thread_default(context_);
  }

  static GVariant* OnGetProperty(GDBusConnection*, const gchar*, const gchar*, const gchar*,
                                 const gchar*, GError**, gpointer self) {
    return g_variant_new_boolean(static_cast<FakeDndService*>(self)->on_);
  }
  static void OnMethodCall(GDBusConnection*, const gchar*, const gchar*, const gchar*, const gchar*,
                           GVariant* parameters, GDBusMethodInvocation* invocation, gpointer self) {
    const gchar* channel = nullptr;
    const gchar* property = nullptr;
    g_variant_get(parameters, "(&s&s)", &channel, &property);
    if (std::strcmp(channel, "xfce4-notifyd") != 0 ||
        std::strcmp(property, "/do-not-disturb") != 0) {
      g_dbus_method_invocation_return_dbus_error(
          invocation, "org.xfce.Xfconf.Error.InvalidProperty", "no such property");
      return;
    }
    g_dbus_method_invocation_return_value(
        invocation,
        g_variant_new("(v)", g_variant_new_boolean(static_cast<FakeDndService*>(self)->on_)));
  }

  const Kind kind_;
  std::atomic<bool> on_;
  GMainContext* context_;
  GDBusConnection* connection_ = nullptr;  // set on the service's thread before Ready
  std::atomic<bool> stopping_{false};
  bool ready_ = false;
  std::thread thread_;
};

}  // namespace chimewell::testing
