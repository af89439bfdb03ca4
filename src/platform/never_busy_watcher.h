#pragma once
// The busy-desktop watcher for tools and tests that need one: the desktop is never busy.
#include "platform/desktop_busy_watcher.h"

namespace chimewell {

class NeverBusyWatcher final : public DesktopBusyWatcher {
 public:
  void Start(std::function<void(DesktopBusyState)>, std::function<void(BusyUnavailable)>) override {
  }
  DesktopBusyState Current() const override { return {}; }
};

}  // namespace chimewell
