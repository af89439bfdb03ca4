#pragma once
// The tray icon's NotificationArea on Qt's system tray, feeding its actions back to the icon.
#include <QIcon>
#include <QSystemTrayIcon>

#include "display/tray_icon.h"

namespace chimewell {

// Needs a QApplication. Construct it, then the TTaskTrayIcon on it, then call Attach.
class QtNotificationArea final : public NotificationArea {
 public:
  explicit QtNotificationArea(const QIcon& picture);

  // The picture that the next add or change shows; follow it with TTaskTrayIcon::IconChanged.
  void SetPicture(const QIcon& picture) { picture_ = picture; }
  // Mouse actions on the tray icon go to `icon` from now on.
  void Attach(TTaskTrayIcon& icon);
  // What the tray reported, with the mouse position on the screen; also used by tests.
  void Activated(QSystemTrayIcon::ActivationReason reason, int x, int y);

  void AddIcon(std::string_view tip) override;
  void ModifyIcon(std::string_view tip) override;
  void DeleteIcon() override;

  QSystemTrayIcon& TrayIcon() { return tray_; }

 private:
  QIcon picture_;
  QSystemTrayIcon tray_;
  TTaskTrayIcon* icon_ = nullptr;
};

}  // namespace chimewell
