#include "platform/linux/dnd_flag_specs.h"

#include <cstring>

namespace chimewell {
namespace {

constexpr char kNotifications[] = "org.freedesktop.Notifications";
constexpr char kInhibited[] = "Inhibited";
constexpr char kProperties[] = "org.freedesktop.DBus.Properties";
constexpr char kXfconf[] = "org.xfce.Xfconf";
constexpr char kXfceChannel[] = "xfce4-notifyd";
constexpr char kXfceProperty[] = "/do-not-disturb";

GVariant* InhibitedArguments() { return g_variant_new("(ss)", kNotifications, kInhibited); }

// PropertiesChanged (interface, changed values, names whose values were dropped).
FlagSignal InhibitedSignal(const char* member, GVariant* parameters) {
  if (std::strcmp(member, "PropertiesChanged") != 0 ||
      !g_variant_is_of_type(parameters, G_VARIANT_TYPE("(sa{sv}as)"))) {
    return FlagSignal::kNone;
  }
  GVariant* changed = g_variant_get_child_value(parameters, 1);
  GVariant* value = g_variant_lookup_value(changed, kInhibited, G_VARIANT_TYPE_BOOLEAN);
  g_variant_unref(changed);
  if (value != nullptr) {
    const bool on = g_variant_get_boolean(value);
    g_variant_unref(value);
    return on ? FlagSignal::kOn : FlagSignal::kOff;
  }
  GVariant* dropped = g_variant_get_child_value(parameters, 2);
  const gchar** names = g_variant_get_strv(dropped, nullptr);
  bool named = false;
  for (const gchar** name = names; *name != nullptr; ++name)
    named |= std::strcmp(*name, kInhibited) == 0;
  g_free(static_cast<gpointer>(names));
  g_variant_unref(dropped);
  return named ? FlagSignal::kReadAgain : FlagSignal::kNone;
}

GVariant* XfceArguments() { return g_variant_new("(ss)", kXfceChannel, kXfceProperty); }

// PropertyChanged (channel, property, value) and PropertyRemoved (channel, property).
FlagSignal XfceSignal(const char* member, GVariant* parameters) {
  const gchar* property = nullptr;
  if (std::strcmp(member, "PropertyChanged") == 0 &&
      g_variant_is_of_type(parameters, G_VARIANT_TYPE("(ssv)"))) {
    GVariant* value = nullptr;
    g_variant_get(parameters, "(&s&sv)", nullptr, &property, &value);
    const bool ours = std::strcmp(property, kXfceProperty) == 0;
    const bool on =
        ours && g_variant_is_of_type(value, G_VARIANT_TYPE_BOOLEAN) && g_variant_get_boolean(value);
    g_variant_unref(value);
    if (!ours) return FlagSignal::kNone;
    return on ? FlagSignal::kOn : FlagSignal::kOff;
  }
  if (std::strcmp(member, "PropertyRemoved") == 0 &&
      g_variant_is_of_type(parameters, G_VARIANT_TYPE("(ss)"))) {
    g_variant_get(parameters, "(&s&s)", nullptr, &property);
    return std::strcmp(property, kXfceProperty) == 0 ? FlagSignal::kOff : FlagSignal::kNone;
  }
  return FlagSignal::kNone;
}

}  // namespace

const BusFlagSpec& NotificationsInhibitedFlag() {
  static const BusFlagSpec spec{kNotifications,      "/org/freedesktop/Notifications",
                                kProperties,         "Get",
                                &InhibitedArguments, kProperties,
                                kNotifications,      &InhibitedSignal};
  return spec;
}

const BusFlagSpec& XfceDoNotDisturbFlag() {
  static const BusFlagSpec spec{kXfconf,       "/org/xfce/Xfconf", kXfconf,
                                "GetProperty", &XfceArguments,     kXfconf,
                                kXfceChannel,  &XfceSignal};
  return spec;
}

}  // namespace chimewell
