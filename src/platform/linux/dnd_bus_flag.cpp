#include "platform/linux/dnd_bus_flag.h"

namespace chimewell {

BusFlagWatch::BusFlagWatch(GDBusConnection* connection, const BusFlagSpec& spec,
                           std::function<void(bool)> changed, FaultReport report)
    : connection_(connection),
      spec_(spec),
      changed_(std::move(changed)),
      report_(std::move(report)),
      cancellable_(g_cancellable_new()) {
  subscription_ = g_dbus_connection_signal_subscribe(
      connection_, nullptr, spec_.signal_interface, nullptr, spec_.path, spec_.signal_arg0,
      G_DBUS_SIGNAL_FLAGS_NONE, &OnSignal, this, nullptr);
  // Never started on our account: a desktop without the service has no such setting.
  name_watch_ =
      g_bus_watch_name_on_connection(connection_, spec_.name, G_BUS_NAME_WATCHER_FLAGS_NONE,
                                     &OnAppeared, &OnVanished, this, nullptr);
}

BusFlagWatch::~BusFlagWatch() {
  g_bus_unwatch_name(name_watch_);
  g_dbus_connection_signal_unsubscribe(connection_, subscription_);
  // A read still on its way ends as cancelled, without touching this object.
  g_cancellable_cancel(cancellable_);
  g_object_unref(cancellable_);
}

void BusFlagWatch::Guarded(const char* where, const std::function<void()>& step) const {
  RunCatchingFaults(where, step, report_);
}

void BusFlagWatch::OnAppeared(GDBusConnection*, const gchar*, const gchar* owner, gpointer self) {
  auto* watch = static_cast<BusFlagWatch*>(self);
  watch->Guarded("do-not-disturb service", [watch, owner] {
    watch->owner_ = owner;
    watch->Read();
  });
}

void BusFlagWatch::OnVanished(GDBusConnection*, const gchar*, gpointer self) {
  auto* watch = static_cast<BusFlagWatch*>(self);
  watch->Guarded("do-not-disturb service", [watch] {
    watch->owner_.clear();
    watch->Set(false);
  });
}

void BusFlagWatch::Read() {
  g_dbus_connection_call(connection_, owner_.c_str(), spec_.path, spec_.read_interface,
                         spec_.read_method, spec_.read_arguments(), G_VARIANT_TYPE("(v)"),
                         G_DBUS_CALL_FLAGS_NO_AUTO_START, -1, cancellable_, &OnRead, this);
}

void BusFlagWatch::OnRead(GObject* connection, GAsyncResult* result, gpointer self) {
  GError* error = nullptr;
  GVariant* reply = g_dbus_connection_call_finish(G_DBUS_CONNECTION(connection), result, &error);
  if (reply == nullptr) {
    const bool cancelled = g_error_matches(error, G_IO_ERROR, G_IO_ERROR_CANCELLED);
    g_error_free(error);
    if (cancelled) return;
  }
  auto* watch = static_cast<BusFlagWatch*>(self);
  watch->Guarded("do-not-disturb service", [watch, reply] {
    // A service without the setting (or with it unset) answers an error: not quiet.
    bool on = false;
    if (reply != nullptr) {
      GVariant* value = nullptr;
      g_variant_get(reply, "(v)", &value);
      on = g_variant_is_of_type(value, G_VARIANT_TYPE_BOOLEAN) && g_variant_get_boolean(value);
      g_variant_unref(value);
    }
    if (!watch->owner_.empty()) watch->Set(on);
  });
  if (reply != nullptr) g_variant_unref(reply);
}

void BusFlagWatch::OnSignal(GDBusConnection*, const gchar* sender, const gchar*, const gchar*,
                            const gchar* member, GVariant* parameters, gpointer self) {
  auto* watch = static_cast<BusFlagWatch*>(self);
  watch->Guarded("do-not-disturb signal", [&] {
    // Only the service itself speaks for its setting.
    if (watch->owner_.empty() || watch->owner_ != sender) return;
    switch (watch->spec_.read_signal(member, parameters)) {
      case FlagSignal::kNone:
        return;
      case FlagSignal::kOn:
        return watch->Set(true);
      case FlagSignal::kOff:
        return watch->Set(false);
      case FlagSignal::kReadAgain:
        return watch->Read();
    }
  });
}

void BusFlagWatch::Set(bool on) {
  if (on == on_) return;
  on_ = on;
  changed_(on);
}

GDBusConnection* OpenPrivateSessionBus() {
  GError* error = nullptr;
  gchar* address = g_dbus_address_get_for_bus_sync(G_BUS_TYPE_SESSION, nullptr, &error);
  GDBusConnection* connection =
      address == nullptr
          ? nullptr
          : g_dbus_connection_new_for_address_sync(
                address,
                static_cast<GDBusConnectionFlags>(G_DBUS_CONNECTION_FLAGS_AUTHENTICATION_CLIENT |
                                                  G_DBUS_CONNECTION_FLAGS_MESSAGE_BUS_CONNECTION),
                nullptr, nullptr, &error);
  g_free(address);
  g_clear_error(&error);
  return connection;
}

}  // namespace chimewell
