#include "ui/main_tray.h"

#include "app/application.h"
#include "ui/app_icon.h"
#include "ui/main_form.h"

namespace chimewell {

bool MainTray::Available() { return QSystemTrayIcon::isSystemTrayAvailable(); }

MainTray::MainTray(TMainForm& form, Application& app)
    : area_(ChimewellIcon()), icon_(std::make_unique<TTaskTrayIcon>(area_)) {
  area_.Attach(*icon_);
  icon_->PopUpMenuR = [&form](int x, int y) { form.PopupMenu1().ExecAt(QPoint(x, y)); };
  icon_->OnDblClick = [&app] {
    app.CatchFaults("command",
                    [&app] { app.PM_MenuClick(MenuItem::PM_Clock, ClickSource::TrayDoubleClick); });
  };
  icon_->BringOwnerForward = [&form] {
    if (form.isVisible()) form.activateWindow();
  };
  icon_->OnError = [&app](const std::string& message) { app.ShowPanelMessage(message); };
  icon_->Loaded();
}

// The icon leaves the tray before the area that shows it goes.
MainTray::~MainTray() { icon_.reset(); }

}  // namespace chimewell
