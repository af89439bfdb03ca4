// The main tick: fires what is due, speaks the second count, finds the next event and re-arms
// the one-shot timer.
#include <cstdio>
#include <limits>

#include "app/application.h"
#include "app/texts.h"
#include "core/speech_text.h"
#include "platform/clock.h"
#include "platform/timer.h"
#include "playback/firing.h"

namespace chimewell {
namespace {

constexpr int64_t kNoEvent = std::numeric_limits<int32_t>::max();

bool SameSecondOfDay(TDateTime a, TDateTime b) {
  const DateTimeParts pa = DecodeDateTime(a);
  const DateTimeParts pb = DecodeDateTime(b);
  return pa.hour == pb.hour && pa.minute == pb.minute && pa.second == pb.second;
}

std::string NextEventLabel(const TSchedule& entry, TDateTime nominal) {
  std::string text = texts::kNextPrefix + FormatDateTime("hh:nn.ss", nominal);
  switch (entry.Cmd) {
    case ctSpeak:
      return text + texts::kSpeakOpen + ExpandSpeechText(entry.Msg, nominal) + texts::kSpeakClose;
    case ctTime: return text + texts::kTimeSignalSuffix;
    case ctWave: return text + texts::kWaveSuffix;
    case ctMidi: return text + texts::kMidiSuffix;
  }
  return text;
}

}  // namespace

void Application::Timer1Timer(bool timer_driven) {
  deps_.timer.Disable();
  if (exit_requested_ != 0) {
    CloseMainWindow();
    return;
  }
  if (panel_.HideIfExpired(deps_.clock.TickCount())) deps_.view.HideMessagePanel();
  const int count_interval = menu_.CountInterval();

  if (timer_driven) {
    if (deps_.view.IsShowing() && !SameSecondOfDay(deps_.clock.Now(), face_state_.LastDrawnTime)) {
      DrawClock();
      deps_.view.ProcessPendingEvents();
    }
    const TDateTime now = deps_.clock.Now();
    const TDateTime announced = AddMilliseconds(now, config_.SpeakOffset);
    FirePass(now, announced);
    if (count_interval > 0) SecondCount(announced, count_interval);
  }

  const TDateTime now = deps_.clock.Now();
  const int64_t best = NextEventPass(now, count_interval);
  RearmTimer(now, best);
  // With no entry to name (the count alone may arm the timer) the line says that no schedule
  // is set, also when a later command rebuilds it, rather than showing nothing after the marks.
  if (best <= 0 || best == kNoEvent || next_event_text_.empty()) {
    next_event_text_ = texts::kNoSchedule;
  }
  UpdateStatusLine(std::nullopt);
}

void Application::FirePass(TDateTime now, TDateTime announced) {
  for (TSchedule& entry : schedule_.ScheduleEntries()) {
    if (entry.NextTime > 0 && now >= entry.NextTime) {
      FireEntry(entry, announced);
      entry.NextTime = 0;
    }
  }
}

void Application::FireEntry(const TSchedule& entry, TDateTime announced) {
  switch (entry.Cmd) {
    case ctSpeak: FireSpeak(*playback_, entry, announced); break;
    case ctTime: PlayTimeSignal(entry.Msg, entry.RepeatCount, announced); break;
    case ctWave: FireWave(*playback_, entry, deps_.clock.Now()); break;
    case ctMidi: FireMidi(*playback_, entry, deps_.clock.Now()); break;
  }
}

void Application::SecondCount(TDateTime announced, int interval) {
  const int second = DecodeDateTime(announced).second;
  if (second % interval != 0) return;
  PlayTimeSignal(second != 0 ? "[sec]" : "[hour][min]", 1, announced);
}

int64_t Application::NextEventPass(TDateTime now, int count_interval) {
  next_event_text_.clear();
  int64_t best = kNoEvent;
  const TDateTime announced = AddMilliseconds(now, config_.SpeakOffset);
  // A new date recomputes once. While the window is hidden the clock is not drawn, so the last
  // drawing stays on the old date; raising the flag on every run would let a background entry
  // whose window is open fire again at each tick.
  if (DateOf(face_state_.LastDrawnTime) != DateOf(announced) &&
      DateOf(announced) != recomputed_date_) {
    recompute_flag_ = 1;
    recomputed_date_ = DateOf(announced);
  }

  auto& entries = schedule_.ScheduleEntries();
  for (size_t i = entries.size(); i-- > 0;) {
    TSchedule& entry = entries[i];
    if (entry.NextTime == 0) {
      const TDateTime next = schedule_.MakeNextTime(i, announced, recompute_flag_);
      // No next time stays "never": with a negative offset a plain subtraction would turn it
      // into a moment in 1899 that fires at once.
      entry.NextTime = next == 0 ? -1 : AddMilliseconds(next, -config_.SpeakOffset);
    }
    const int64_t distance = MillisecondsBetween(now, entry.NextTime);
    if (distance <= 0 || distance > best) continue;
    best = distance;
    next_event_text_ = NextEventLabel(entry, AddMilliseconds(entry.NextTime, config_.SpeakOffset));
  }
  recompute_flag_ = 0;

  if (count_interval > 0) {
    const DateTimeParts p = DecodeDateTime(now);
    const int64_t to_count =
        count_interval * 1000LL - ((p.second % count_interval) * 1000LL + p.millisecond);
    if (to_count > 0 && to_count < best) best = to_count;
  }
  return best;
}

void Application::RearmTimer(TDateTime now, int64_t best_distance) {
  if (deps_.view.IsShowing()) {
    const int ms = DecodeDateTime(now).millisecond;
    deps_.timer.Arm(ms > 0 ? 1001 - ms : 1001);
  } else if (best_distance > 0 && best_distance < kNoEvent) {
    deps_.timer.Arm(static_cast<int>(best_distance + 1));
  }
}

}  // namespace chimewell
