#pragma once
// The program's picture, the same clock that desktops show for it in their menus.
#include <QIcon>

namespace chimewell {

// The window and tray icon, in every size it is drawn in.
QIcon ChimewellIcon();

}  // namespace chimewell
