#include "ui/app_icon.h"

namespace chimewell {

QIcon ChimewellIcon() {
  QIcon icon;
  for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
    icon.addFile(QStringLiteral(":/icons/chimewell-%1.png").arg(size), QSize(size, size));
  }
  return icon;
}

}  // namespace chimewell
