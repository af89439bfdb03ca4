#pragma once
// GNOME's "do not disturb": the desktop's notification setting that hides banners, followed
// through its change signal. Nothing is watched where GNOME's settings are not installed.
#include <gio/gio.h>

#include <functional>

namespace chimewell {

// Lives on the thread that iterates the thread-default main context it was made under; the
// setting's changes are told there.
class GnomeBannersWatch {
 public:
  // `changed` is called with the current answer at once (when it is "quiet"), then on changes.
  explicit GnomeBannersWatch(std::function<void(bool)> changed);
  ~GnomeBannersWatch();
  GnomeBannersWatch(const GnomeBannersWatch&) = delete;
  GnomeBannersWatch& operator=(const GnomeBannersWatch&) = delete;

 private:
  static void OnChanged(GSettings* settings, const gchar* key, gpointer self);

  std::function<void(bool)> changed_;
  GSettings* settings_ = nullptr;  // null without the schema
  bool quiet_ = false;
};

}  // namespace chimewell
