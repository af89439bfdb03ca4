#pragma once
// The time-zone watcher on inotify: the zone file (the one TZ names, else /etc/localtime) is
// replaced by a rename when the zone is set, so its folder is watched for that name. The
// watching thread sleeps in the kernel until something happens there: no polling.
#include <functional>
#include <string>
#include <thread>

#include "core/fault.h"
#include "platform/zone_watcher.h"

namespace chimewell {

// Owned by the composition root; its thread only calls the function given to Watch.
class InotifyZoneWatcher final : public ZoneWatcher {
 public:
  // `report` is told of a fault on the watching thread, or that the zone cannot be watched.
  explicit InotifyZoneWatcher(FaultReport report = {});
  ~InotifyZoneWatcher() override;
  InotifyZoneWatcher(const InotifyZoneWatcher&) = delete;
  InotifyZoneWatcher& operator=(const InotifyZoneWatcher&) = delete;

  void Watch(std::function<void()> changed) override;

 private:
  void Run(const std::string& name, const std::function<void()>& changed) const;

  FaultReport report_;
  int inotify_fd_ = -1;
  int stop_fd_ = -1;
  std::thread thread_;
};

}  // namespace chimewell
