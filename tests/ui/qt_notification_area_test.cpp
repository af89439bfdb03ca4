#include "ui/qt_notification_area.h"

#include <gtest/gtest.h>

#include <QPixmap>

namespace chimewell {
namespace {

TEST(QtNotificationAreaTest, TrayActionsReachTheIconAndTheTipFollowsTheHint) {
  QPixmap picture(16, 16);
  picture.fill(Qt::blue);
  QtNotificationArea area{QIcon(picture)};
  TTaskTrayIcon icon(area);
  area.Attach(icon);
  std::vector<std::string> seen;
  icon.PopUpMenuR = [&](int x, int y) {
    seen.push_back("menu " + std::to_string(x) + "," + std::to_string(y));
  };
  icon.OnDblClick = [&] { seen.push_back("double"); };

  area.Activated(QSystemTrayIcon::Context, 12, 34);
  area.Activated(QSystemTrayIcon::DoubleClick, 0, 0);
  area.Activated(QSystemTrayIcon::Unknown, 0, 0);
  EXPECT_EQ(seen, (std::vector<std::string>{"menu 12,34", "double"}));

  icon.Loaded();
  icon.SetHint(std::string(100, 'x'));
  EXPECT_EQ(area.TrayIcon().toolTip(), QString(63, QChar('x')));
  EXPECT_TRUE(area.TrayIcon().isVisible());
  icon.SetVisible(false);
  EXPECT_FALSE(area.TrayIcon().isVisible());
}

}  // namespace
}  // namespace chimewell
