#pragma once
// Tells when the machine's time zone may have changed, as when a travelling laptop is set to
// the zone it arrived in: local times, and so every due moment, must then be read anew.
#include <functional>

namespace chimewell {

class ZoneWatcher {
 public:
  virtual ~ZoneWatcher() = default;
  // From now on calls `changed` after each change, from a thread of the watcher's own, until
  // the watcher is destroyed. Called once.
  virtual void Watch(std::function<void()> changed) = 0;
};

}  // namespace chimewell
