#pragma once
// The program's picture: a small clock face, drawn rather than shipped as an image file.
#include <QIcon>
#include <QPixmap>

namespace chimewell {

// A clock face of `size` x `size` pixels on a transparent ground.
QPixmap ClockPicture(int size);
// The window and tray icon, in the sizes desktops ask for.
QIcon ChimewellIcon();

}  // namespace chimewell
