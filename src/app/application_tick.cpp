// The main tick: fires what is due, speaks the second count, finds the next event and re-arms
// the one-shot timer. Due moments are wall-clock deadlines, so a suspend, a clock step or a
// daylight-saving change is noticed by the next run and handled there.
#include <algorithm>
#include <cmath>
#include <limits>

#include "app/application.h"
#include "app/texts.h"
#include "core/local_time.h"
#include "core/speech_text.h"
#include "platform/clock.h"
#include "platform/timer.h"
#include "playback/firing.h"

namespace chimewell {
namespace {

constexpr int64_t kNoEvent = std::numeric_limits<int32_t>::max();
// A wall clock that moved this much more (or less) than the time elapsed was set, or the
// machine slept. Slewing by NTP never comes near it.
constexpr int64_t kJumpMs = 1000;
// How far back a shown clock that went back is taken to have resumed: the most a showing
// window's runs lie apart, so that a due moment just reached again is not missed.
constexpr int64_t kLongestTickGapMs = 1100;

bool SameSecondOfDay(TDateTime a, TDateTime b) {
  const DateTimeParts pa = DecodeDateTime(a);
  const DateTimeParts pb = DecodeDateTime(b);
  return pa.hour == pb.hour && pa.minute == pb.minute && pa.second == pb.second;
}

int64_t LocalMs(TDateTime t) { return std::llround(t * kMsPerDay); }

int64_t FloorDiv(int64_t a, int64_t b) { return a / b - (a % b != 0 && (a < 0) != (b < 0)); }

bool IsPeriodic(const TSchedule& entry) { return entry.Mode == imSkip || entry.Mode == imRegular; }

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
  NoteClockJumps(ReadMoment());

  if (timer_driven) {
    if (deps_.view.IsShowing() && !SameSecondOfDay(deps_.clock.Now(), face_state_.LastDrawnTime)) {
      DrawClock();
      deps_.view.ProcessPendingEvents();
    }
    const TickMoment m = ReadMoment();
    FirePass(m);
    if (count_interval > 0) SecondCount(m, count_interval);
  }

  const TickMoment m = ReadMoment();
  const std::optional<int64_t> wake = NextEventPass(m, count_interval);
  RearmTimer(m, wake);
  // With no entry to name (the count alone may arm the timer) the line says that no schedule
  // is set, also when a later command rebuilds it, rather than showing nothing after the marks.
  if (next_event_text_.empty()) next_event_text_ = texts::kNoSchedule;
  UpdateStatusLine(std::nullopt);
}

Application::TickMoment Application::ReadMoment() const {
  TickMoment m;
  m.wall = deps_.clock.UnixMs();
  m.mono = deps_.clock.MonotonicMs();
  m.now = LocalOf(m.wall);
  // The moment named is SpeakOffset of elapsed time ahead, in the local time it will then be:
  // across a daylight-saving change that is the time the clock will show.
  m.announced_wall = m.wall + config_.SpeakOffset;
  m.announced = LocalOf(m.announced_wall);
  return m;
}

void Application::NoteClockJumps(const TickMoment& m) {
  if (last_moment_) {
    const TickMoment& last = *last_moment_;
    const int64_t elapsed = m.mono - last.mono;
    const int64_t wall_drift = (m.wall - last.wall) - elapsed;
    // The announced moment's offset: a daylight-saving change is followed from the run whose
    // announcement falls after it.
    const int64_t offset_change = UtcOffsetMs(m.announced_wall) - UtcOffsetMs(last.announced_wall);
    if (wall_drift >= kJumpMs) jumped_forward_at_ = m.wall;
    if (wall_drift + offset_change <= -kJumpMs) FollowShownClockBack(m, elapsed);
  }
  last_moment_ = m;
}

void Application::FollowShownClockBack(const TickMoment& m, int64_t elapsed) {
  // Periodic entries fire again at each due moment the shown clock reaches anew; once-a-day
  // entries keep their next date, so they never fire twice for one date.
  const int64_t back = std::clamp<int64_t>(elapsed, 0, kLongestTickGapMs);
  const TDateTime reference = AddMilliseconds(m.announced, -back);
  auto& entries = schedule_.ScheduleEntries();
  for (size_t i = 0; i < entries.size(); ++i) {
    if (IsPeriodic(entries[i]) && entries[i].NextTime != 0) {
      ComputeNextTime(i, reference, m.announced_wall - back);
    }
  }
  last_count_second_ = std::numeric_limits<int64_t>::min();
}

void Application::ComputeNextTime(size_t index, TDateTime reference, int64_t not_before) {
  TSchedule& entry = schedule_.ScheduleEntries()[index];
  TDateTime next = schedule_.MakeNextTime(index, reference, recompute_flag_);
  // No next time stays "never": with a negative offset a plain subtraction would turn it into
  // a moment in 1899 that fires at once.
  if (next == 0) {
    entry.NextTime = -1;
    entry.DueMs = 0;
    return;
  }
  int64_t at = WallOfLocal(next, not_before);
  if (IsPeriodic(entry) && LocalMs(LocalOf(at)) != LocalMs(next)) {
    // A periodic moment in the hour skipped in spring does not exist: the next one after the
    // skip is meant. (A once-a-day entry fires as the clock jumps past its time.)
    next = schedule_.MakeNextTime(index, AddMilliseconds(LocalOf(at), -1), recompute_flag_);
    if (next == 0) {
      entry.NextTime = -1;
      entry.DueMs = 0;
      return;
    }
    at = WallOfLocal(next, at);
  }
  entry.DueMs = at - config_.SpeakOffset;
  entry.NextTime = LocalOf(entry.DueMs);
}

void Application::FirePass(const TickMoment& m) {
  int passed_over = 0;
  auto& entries = schedule_.ScheduleEntries();
  for (size_t i = 0; i < entries.size(); ++i) {
    TSchedule& entry = entries[i];
    const int64_t lead = AnnouncesAhead(entry) ? kHandOverLeadMs : 0;
    if (entry.NextTime <= 0 || m.wall < entry.DueMs - lead) continue;
    // What fell due during a suspend or was stepped over and is too late now is not played;
    // music whose window is still open starts as it does at start-up. A moment named at or
    // after the wake was not slept through, however early its hand-over fell.
    const bool slept_through = jumped_forward_at_ &&
                               entry.DueMs + config_.SpeakOffset < *jumped_forward_at_;
    const bool too_late = slept_through && m.wall - entry.DueMs > LateLimitMs();
    if (too_late && !BackgroundWindowOpen(i, m.announced)) {
      PassOver(entry);
      ++passed_over;
      // Its later moments are not lost with it: one that is still due now plays.
      if (!CatchUpAfterWake(i, m, *jumped_forward_at_)) continue;
    }
    const int64_t at = std::max(m.wall, entry.DueMs);
    FireEntry(entry, MomentAt(m, at));
    handed_over_until_ = std::max(handed_over_until_.value_or(at), at);
    entry.NextTime = 0;
  }
  jumped_forward_at_.reset();
  if (passed_over > 0) ShowPanelMessage(std::to_string(passed_over) + texts::kPassedOverCount);
}

bool Application::CatchUpAfterWake(size_t index, const TickMoment& m, int64_t woke_at) {
  TSchedule& entry = schedule_.ScheduleEntries()[index];
  // The earliest moment that still counts: one named at or after the wake, or one slept
  // through that LateLimit still lets play. Only the first of them plays now; the rest of
  // what the sleep covered went with the line passed over.
  const int64_t floor = std::max(entry.DueMs + 1, std::min(woke_at - config_.SpeakOffset,
                                                           m.wall - LateLimitMs()));
  const int64_t reference = floor + config_.SpeakOffset - 1;
  ComputeNextTime(index, LocalOf(reference), reference);
  const int64_t lead = AnnouncesAhead(entry) ? kHandOverLeadMs : 0;
  // Not due yet: it stays the entry's next moment.
  return entry.NextTime > 0 && m.wall >= entry.DueMs - lead;
}

bool Application::BackgroundWindowOpen(size_t index, TDateTime announced) const {
  return schedule_.ScheduleEntries()[index].Mode == imBGM &&
         schedule_.MakeNextTime(index, announced, 1) <= announced;
}

void Application::PassOver(const TSchedule& entry) {
  const TDateTime nominal = LocalOf(entry.DueMs + config_.SpeakOffset);
  log_.AddLogLine(texts::kPassedOverPrefix + NextEventLabel(entry, nominal));
  outlet_.PassedOver(entry, entry.DueMs);
}

void Application::FireEntry(const TSchedule& entry, const TickMoment& m) {
  if (entry.Cmd == ctTime) {
    Announce(entry.Msg, entry.RepeatCount, m, FiringKind::kTime);
    return;
  }
  outlet_.Fire(entry, m.wall, m.announced, m.now);
}

void Application::Announce(const std::string& format, int repeat, const TickMoment& m,
                           FiringKind kind) {
  outlet_.Announced(m.wall, kind, PlayTimeSignalAt(format, repeat, m.announced, m.wall));
}

void Application::SecondCount(const TickMoment& now, int interval) {
  // The count due within the hand-over lead, or in the second now announced.
  const int64_t due = CountMomentAtOrBefore(now.wall + kHandOverLeadMs, interval);
  if (due <= now.wall - 1000) return;
  const TickMoment m = MomentAt(now, std::max(now.wall, due));
  const int second = DecodeDateTime(m.announced).second;
  if (second % interval != 0) return;
  const int64_t shown_second = FloorDiv(LocalMs(m.announced), 1000);
  if (shown_second <= last_count_second_) return;  // already counted in this run forward
  last_count_second_ = shown_second;
  Announce(CountFormat(second), 1, m, FiringKind::kCount);
}

std::optional<int64_t> Application::NextEventPass(const TickMoment& m, int count_interval) {
  next_event_text_.clear();
  next_firing_.reset();
  // A new date recomputes once. While the window is hidden the clock is not drawn, so the last
  // drawing stays on the old date; raising the flag on every run would let a background entry
  // whose window is open fire again at each tick.
  if (DateOf(face_state_.LastDrawnTime) != DateOf(m.announced) &&
      DateOf(m.announced) != recomputed_date_) {
    recompute_flag_ = 1;
    recomputed_date_ = DateOf(m.announced);
  }

  std::optional<int64_t> best;
  std::optional<int64_t> wake;
  const TickMoment from =
      handed_over_until_ ? MomentAt(m, std::max(m.wall, *handed_over_until_ + 1)) : m;
  handed_over_until_.reset();
  auto& entries = schedule_.ScheduleEntries();
  for (size_t i = entries.size(); i-- > 0;) {
    const TSchedule& entry = entries[i];
    if (entry.NextTime == 0) ComputeNextTime(i, from.announced, from.announced_wall);
    if (entry.NextTime <= 0 || entry.DueMs - m.wall > kNoEvent) continue;
    wake = std::min(wake.value_or(INT64_MAX), WakeFor(entry, m.wall));
    // Equal moments: the entry nearer the start of the list names the line.
    if (best && entry.DueMs > *best) continue;
    best = entry.DueMs;
    const TDateTime nominal = LocalOf(entry.DueMs + config_.SpeakOffset);
    next_event_text_ = NextEventLabel(entry, nominal);
    const std::string text = entry.Cmd == ctSpeak ? SpeakTextFor(entry, nominal) : entry.Msg;
    next_firing_ = UpcomingFiring{entry.DueMs, nominal, FiringKindOf(entry.Cmd), text};
  }
  recompute_flag_ = 0;

  std::optional<int64_t> next_count;
  if (count_interval > 0) {
    // The next count after the one within reach now: prepared, then handed over.
    next_count = NextCountMoment(m.wall, count_interval);
    wake = std::min(wake.value_or(INT64_MAX), AnnouncementWake(*next_count, m.wall));
  }
  PrepareUpcoming(m, next_count);
  return wake;
}

void Application::RearmTimer(const TickMoment& m, std::optional<int64_t> wake) {
  if (wake) {
    // When the shown clock is to go back before then, wake as the announcement crosses it
    // (as ever a millisecond late), so that periodic entries follow it back.
    const auto change = NextOffsetChange(m.announced_wall, *wake + config_.SpeakOffset);
    if (change && UtcOffsetMs(*change) < UtcOffsetMs(m.announced_wall)) {
      wake = std::min(*wake, *change - config_.SpeakOffset + 1);
    }
  }
  if (deps_.view.IsShowing()) {
    // Every second for the clock, and between seconds for what is due.
    const int64_t next_second = (FloorDiv(m.wall, 1000) + 1) * 1000 + 1;
    deps_.timer.ArmAt(std::min(next_second, wake.value_or(next_second)));
    return;
  }
  // Nothing due: asleep until a command, a form or a direct call.
  if (wake) deps_.timer.ArmAt(*wake);
}

}  // namespace chimewell
