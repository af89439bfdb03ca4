#pragma once
// The clock's tray icon: the right button opens the command menu, a double-click runs the
// double-click action; the icon is there from start-up until the program ends.
#include <memory>

#include "display/tray_icon.h"
#include "ui/qt_notification_area.h"

namespace chimewell {

class Application;
class TMainForm;

class MainTray {
 public:
  // Whether the desktop has a tray to put the icon in.
  static bool Available();

  MainTray(TMainForm& form, Application& app);
  ~MainTray();
  MainTray(const MainTray&) = delete;
  MainTray& operator=(const MainTray&) = delete;

  // The session is ending: the icon goes at once.
  void QueryEndSession() { icon_->QueryEndSession(); }
  TTaskTrayIcon& Icon() { return *icon_; }
  QtNotificationArea& Area() { return area_; }

 private:
  QtNotificationArea area_;
  std::unique_ptr<TTaskTrayIcon> icon_;
};

}  // namespace chimewell
