// Following a change of the machine's time zone while the clock runs. The due moments are
// wall-clock deadlines computed from local times, so they are computed again in the new zone.
#include <limits>

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
  const TickMoment m = ReadMoment();
  // Every next moment is the next one the clock shows in the new zone: a traveller hears the
  // 7 o'clock signal at 7 where they are, also when that 7 o'clock comes round again.
  auto& entries = schedule_.ScheduleEntries();
  for (size_t i = 0; i < entries.size(); ++i) {
    if (entries[i].NextTime > 0) ComputeNextTime(i, m.announced, m.announced_wall);
  }
  // The count goes by the seconds the clock shows, which may now come again.
  last_count_second_ = std::numeric_limits<int64_t>::min();
  last_moment_.reset();
  face_state_.FullRedrawPending = true;
  if (deps_.view.IsShowing()) DrawClock();
  Timer1Timer(false);
}

}  // namespace chimewell
