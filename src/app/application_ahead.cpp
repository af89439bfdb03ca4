// Announcements ahead of their moment: the tick hands them to the message worker shortly
// before, so the mixer can place their first sound on the moment itself, and has their speech
// synthesized a few seconds before that.
#include <algorithm>

#include "app/application.h"
#include "core/local_time.h"
#include "platform/speech_control.h"
#include "playback/firing.h"

namespace chimewell {

Application::TickMoment Application::MomentAt(const TickMoment& m, int64_t wall) const {
  TickMoment at = m;
  at.wall = wall;
  at.mono = m.mono + (wall - m.wall);
  at.now = LocalOf(wall);
  at.announced_wall = wall + config_.SpeakOffset;
  at.announced = LocalOf(at.announced_wall);
  return at;
}

int64_t Application::CountMomentAtOrBefore(int64_t wall, int interval) const {
  const int64_t period = interval * 1000LL;
  const int64_t announced = wall + config_.SpeakOffset;
  const int64_t shown = announced + UtcOffsetMs(announced);
  return wall - ((shown % period) + period) % period;
}

int64_t Application::WakeFor(const TSchedule& entry, int64_t now) const {
  if (!AnnouncesAhead(entry)) return entry.DueMs + 1;  // a millisecond after it falls due
  return AnnouncementWake(entry.DueMs, now);
}

int64_t Application::AnnouncementWake(int64_t due, int64_t now) {
  const int64_t prepare_at = due - kPrepareLeadMs;
  return prepare_at > now ? prepare_at : due - kHandOverLeadMs;
}

void Application::PrepareUpcoming(const TickMoment& m, std::optional<int64_t> next_count) {
  if (!outlet_.Plays()) return;  // a preview plays nothing
  // Only what falls due within the lead is composed: the tick runs every second.
  const auto within_lead = [&](int64_t due) {
    return due > m.wall && due - m.wall <= kPrepareLeadMs;
  };
  const auto prepare = [&](const std::string& text) {
    if (!text.empty()) deps_.speech.Prepare(text);
  };
  for (const TSchedule& entry : schedule_.ScheduleEntries()) {
    if (entry.NextTime <= 0 || !AnnouncesAhead(entry) || !within_lead(entry.DueMs)) continue;
    const TickMoment at = MomentAt(m, entry.DueMs);
    prepare(entry.Cmd == ctSpeak ? SpeakTextFor(entry, at.announced)
                                 : time_signal_.SpokenText(entry.Msg, at.announced));
  }
  if (next_count && within_lead(*next_count)) {
    const TickMoment at = MomentAt(m, *next_count);
    prepare(time_signal_.SpokenText(CountFormat(DecodeDateTime(at.announced).second),
                                    at.announced));
  }
}

}  // namespace chimewell
