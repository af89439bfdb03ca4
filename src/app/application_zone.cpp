// Following a change of the machine's time zone while the clock runs. The due moments are
// wall-clock deadlines computed from local times, so they are computed again in the new zone.
#include "app/application.h"
#include "core/clock.h"
#include "core/local_time.h"
#include "platform/speech_control.h"
#include "platform/ui_thread.h"
#include "platform/zone_watcher.h"

namespace chimewell {

void Application::WatchZone(ZoneWatcher& watcher) {
  watcher.Watch([this] {
    deps_.ui.Post([this] { CatchFaults("time zone", [this] { FollowZoneChange(); }); });
  });
}

void Application::FollowZoneChange() {
  ReloadLocalZone();
  // Speech made ahead names its moment in the old zone's time.
  deps_.speech.DiscardPrepared();
  planner_.FollowZoneChange(ReadMoment());
  face_state_.FullRedrawPending = true;
  if (deps_.view.IsShowing()) DrawClock();
  Timer1Timer(false);
}

}  // namespace chimewell
