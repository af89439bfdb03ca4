#include "platform/linux/dnd_gnome_banners.h"

namespace chimewell {
namespace {

constexpr char kSchema[] = "org.gnome.desktop.notifications";
constexpr char kShowBanners[] = "show-banners";

}  // namespace

GnomeBannersWatch::GnomeBannersWatch(std::function<void(bool)> changed)
    : changed_(std::move(changed)) {
  // Asking GSettings for a schema that is not installed ends the program, so it is looked up.
  GSettingsSchemaSource* source = g_settings_schema_source_get_default();
  GSettingsSchema* schema =
      source != nullptr ? g_settings_schema_source_lookup(source, kSchema, TRUE) : nullptr;
  if (schema == nullptr) return;
  if (g_settings_schema_has_key(schema, kShowBanners)) {
    settings_ = g_settings_new_full(schema, nullptr, nullptr);
  }
  g_settings_schema_unref(schema);
  if (settings_ == nullptr) return;
  g_signal_connect(settings_, "changed::show-banners", G_CALLBACK(&OnChanged), this);
  OnChanged(settings_, kShowBanners, this);
}

GnomeBannersWatch::~GnomeBannersWatch() {
  if (settings_ == nullptr) return;
  g_signal_handlers_disconnect_by_data(settings_, this);
  g_object_unref(settings_);
}

void GnomeBannersWatch::OnChanged(GSettings* settings, const gchar*, gpointer self) {
  auto* watch = static_cast<GnomeBannersWatch*>(self);
  const bool quiet = !g_settings_get_boolean(settings, kShowBanners);
  if (quiet == watch->quiet_) return;
  watch->quiet_ = quiet;
  watch->changed_(quiet);
}

}  // namespace chimewell
