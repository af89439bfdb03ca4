#include "ui/qt_notification_area.h"

#include <QCursor>
#include <QString>

namespace chimewell {

QtNotificationArea::QtNotificationArea(const QIcon& picture) : picture_(picture) {
  QObject::connect(&tray_, &QSystemTrayIcon::activated,
                   [this](QSystemTrayIcon::ActivationReason reason) {
                     const QPoint at = QCursor::pos();
                     Activated(reason, at.x(), at.y());
                   });
}

void QtNotificationArea::Attach(TTaskTrayIcon& icon) { icon_ = &icon; }

void QtNotificationArea::Activated(QSystemTrayIcon::ActivationReason reason, int x, int y) {
  if (icon_ == nullptr) return;
  TrayActivation action;
  switch (reason) {
    case QSystemTrayIcon::Trigger:
      action = TrayActivation::kTrigger;
      break;
    case QSystemTrayIcon::Context:
      action = TrayActivation::kContext;
      break;
    case QSystemTrayIcon::DoubleClick:
      action = TrayActivation::kDoubleClick;
      break;
    case QSystemTrayIcon::MiddleClick:
      action = TrayActivation::kMiddleClick;
      break;
    default:
      return;
  }
  for (TrayMouseMessage message : MouseMessagesOf(action)) icon_->MouseMessage(message, x, y);
}

void QtNotificationArea::AddIcon(std::string_view tip) {
  ModifyIcon(tip);
  tray_.show();
}

void QtNotificationArea::ModifyIcon(std::string_view tip) {
  tray_.setIcon(picture_);
  tray_.setToolTip(QString::fromUtf8(tip.data(), static_cast<qsizetype>(tip.size())));
}

void QtNotificationArea::DeleteIcon() { tray_.hide(); }

}  // namespace chimewell
