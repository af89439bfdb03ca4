// Saves what the X display shows (the whole screen, or a window's rectangle) as a PNG, so GUI
// tests can look at the real program's window from outside. Usage: screen_grab OUT.png [X Y W H]
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
  if (argc != 2 && argc != 6) {
    std::fprintf(stderr, "usage: screen_grab OUT.png [X Y W H]\n");
    return 2;
  }
  qputenv("QT_QPA_PLATFORM", "xcb");
  QGuiApplication app(argc, argv);
  QScreen* screen = QGuiApplication::primaryScreen();
  if (screen == nullptr) return 1;
  QPixmap shot = argc == 6 ? screen->grabWindow(0, std::atoi(argv[2]), std::atoi(argv[3]),
                                                std::atoi(argv[4]), std::atoi(argv[5]))
                           : screen->grabWindow(0);
  return shot.save(QString::fromLocal8Bit(argv[1]), "PNG") ? 0 : 1;
}
