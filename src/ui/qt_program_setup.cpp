#include "ui/qt_program_setup.h"

#include <QApplication>
#include <cstdlib>

namespace chimewell {

void PrepareQtPlatform(bool headless) {
  // Without a window the program still draws and lays out text, off screen.
  if (headless) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  // Each second only a few digits of the clock change, and those few bytes go to the X server
  // on its socket. With shared-memory images Qt would wait for a round trip on every repaint,
  // waking two threads twice a second instead of once.
  setenv("QT_XCB_NO_MITSHM", "1", 0);
}

void NameQtApplication() {
  QApplication::setApplicationName("Chimewell");
  QApplication::setApplicationDisplayName("Chimewell");
  // Hiding the clock must not end the program; only Exit, the close button or a signal do.
  QApplication::setQuitOnLastWindowClosed(false);
}

}  // namespace chimewell
