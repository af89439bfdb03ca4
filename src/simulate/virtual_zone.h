#pragma once
// The machine's time zone set anew during a simulation, as a traveller's laptop is.
#include <cstdlib>
#include <functional>
#include <string>

#include "platform/zone_watcher.h"

namespace chimewell {

// Owned by the simulation's one thread.
class VirtualZone final : public ZoneWatcher {
 public:
  void Watch(std::function<void()> changed) override { changed_ = std::move(changed); }

  // The zone becomes `zone` (a name under the zone folder) and the watcher tells of it.
  void Set(const std::string& zone) {
    setenv("TZ", zone.c_str(), 1);
    if (changed_) changed_();
  }

 private:
  std::function<void()> changed_;
};

}  // namespace chimewell
