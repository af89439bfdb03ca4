// The main tick: fires what the planner finds due, speaks the second count, names the next
// event, has the speech of upcoming announcements made ahead and re-arms the one-shot timer.
#include "app/application.h"
#include "app/next_event_label.h"
#include "app/texts.h"
#include "core/clock.h"
#include "core/local_time.h"
#include "core/speech_text.h"
#include "platform/speech_control.h"
#include "platform/timer.h"
#include "playback/firing.h"

namespace chimewell {
namespace {

bool SameSecondOfDay(TDateTime a, TDateTime b) {
  const DateTimeParts pa = DecodeDateTime(a);
  const DateTimeParts pb = DecodeDateTime(b);
  return pa.hour == pb.hour && pa.minute == pb.minute && pa.second == pb.second;
}

// The log line's start for a firing passed over after waiting for a busy desktop (or not).
const char* PassedOverPrefix(std::optional<HoldReason> held_for) {
  if (!held_for) return texts::kPassedOverPrefix;
  return *held_for == HoldReason::kCall ? texts::kCallPrefix : texts::kDoNotDisturbPrefix;
}

const char* PassedOverReason(std::optional<HoldReason> held_for) {
  if (!held_for) return texts::kTooLateReason;
  return *held_for == HoldReason::kCall ? texts::kCallReason : texts::kDoNotDisturbReason;
}

// The log line's start for a firing that begins to wait for a busy desktop.
const char* WaitPrefix(HoldReason reason) {
  return reason == HoldReason::kCall ? texts::kCallWaitPrefix : texts::kDoNotDisturbWaitPrefix;
}

}  // namespace

void Application::Timer1Timer(bool timer_driven) {
  deps_.timer.Disable();
  if (exit_requested_ != 0) {
    CloseMainWindow();
    return;
  }
  if (panel_.HideIfExpired(deps_.clock.TickCount())) deps_.view.HideMessagePanel();
  RetryServer();
  const int count_interval = menu_.CountInterval();
  planner_.NoteClockJumps(ReadMoment());

  if (timer_driven) {
    if (deps_.view.IsShowing() && !SameSecondOfDay(deps_.clock.Now(), face_state_.LastDrawnTime)) {
      DrawClock();
      deps_.view.ProcessPendingEvents();
    }
    const TickMoment m = ReadMoment();
    FireDue(planner_.TakeDueEntries(m));
    FeedAnnouncements();
    if (count_interval > 0) {
      if (const auto at = planner_.TakeDueCount(m, count_interval); at && CountMayPlay(*at)) {
        Announce(CountFormatAt(at->announced), 1, *at, FiringKind::kCount);
      }
    }
  }

  const TickMoment m = ReadMoment();
  planner_.FollowSynthesisTime(deps_.speech.SynthesisTime());
  const TickPlan plan = planner_.Plan(m, count_interval, face_state_.LastDrawnTime);
  NameNextFiring(m, plan.next);
  PrepareUpcoming(plan.upcoming);
  std::optional<WallMoment> wake =
      planner_.TimerMoment(m, WakeForServer(m, plan.wake), deps_.view.IsShowing());
  if (const auto message = NextAnnouncementWake(); message && (!wake || *message < *wake)) {
    wake = message;
  }
  if (wake) deps_.timer.ArmAt(*wake);
  // With no entry to name (the count alone may arm the timer) the line says that no schedule
  // is set, also when a later command rebuilds it, rather than showing nothing after the marks.
  if (next_event_text_.empty()) next_event_text_ = texts::kNoSchedule;
  waiting_text_ = WaitingText(m);
  UpdateStatusLine(std::nullopt);
}

std::optional<WallMoment> Application::WakeForServer(const TickMoment& m,
                                                     std::optional<WallMoment> wake) const {
  if (!server_retry_at_) return wake;
  // The retry is a pause of elapsed time; the timer takes the wall-clock moment it ends at.
  const WallMoment retry = m.wall + std::max(*server_retry_at_ - m.elapsed, ElapsedClock::duration{});
  return std::min(wake.value_or(retry), retry);
}

TickMoment Application::ReadMoment() const {
  return planner_.Read(deps_.clock.WallNow(), deps_.clock.ElapsedNow());
}

void Application::FireDue(const std::vector<DueEntry>& due) {
  int passed_over = 0;
  for (const DueEntry& d : due) {
    if (d.starts_waiting) {
      const TDateTime nominal = LocalOf(d.due + std::chrono::milliseconds(config_.SpeakOffset));
      log_.AddLogLine(WaitPrefix(*d.held_for) +
                      NextEventLabel(*d.entry, nominal, d.at.now, holidays_));
    } else if (d.passed_over) {
      const TDateTime nominal = LocalOf(d.due + std::chrono::milliseconds(config_.SpeakOffset));
      log_.AddLogLine(PassedOverPrefix(d.held_for) +
                      NextEventLabel(*d.entry, nominal, d.at.now, holidays_));
      outlet_.PassedOver(*d.entry, d.due, WhatItSays(*d.entry, nominal),
                         PassedOverReason(d.held_for));
      ++passed_over;
    } else if (QuietUntil(d.at.announced)) {
      // Kept silent; its next moment is found as ever.
      log_.AddLogLine(texts::kQuietPrefix +
                      NextEventLabel(*d.entry, d.at.announced, d.at.now, holidays_));
      outlet_.PassedOver(*d.entry, d.due, WhatItSays(*d.entry, d.at.announced),
                         texts::kQuietReason);
    } else if (d.entry->Cmd == ctTime) {
      Announce(d.entry->Msg, d.entry->RepeatCount, d.at, FiringKind::kTime);
    } else if (d.entry->Cmd == ctWave) {
      // A sound file marks the moment it names itself: speech's allowance does not apply.
      outlet_.Fire(*d.entry, d.at.announced_wall, d.at.announced, d.at.now);
    } else {
      outlet_.Fire(*d.entry, d.at.wall, d.at.announced, d.at.now);
    }
  }
  if (passed_over > 0) ShowPanelMessage(std::to_string(passed_over) + texts::kPassedOverCount);
}

std::string Application::WhatItSays(const TSchedule& entry, TDateTime nominal) const {
  if (entry.Cmd == ctSpeak) return SpeakTextFor(entry, nominal, holidays_);
  if (entry.Cmd != ctTime) return entry.Msg;
  const std::string spoken = time_signal_.SpokenText(entry.Msg, nominal);
  return spoken.empty() ? entry.Msg : spoken;
}

void Application::Announce(const std::string& format, int repeat, const TickMoment& m,
                           FiringKind kind) {
  if (kind == FiringKind::kTime && signal_chime_) {
    // The chime's mark on the moment announced; the spoken time, if any, once it has ended.
    const WallMoment mark_at = m.announced_wall;
    outlet_.PlayChime(signal_chime_->path, mark_at);
    if (signal_chime_->instead) return;
    const WallMoment speak_at = SpokenTimeAfter(*signal_chime_, mark_at);
    outlet_.Announced(speak_at, kind, PlayTimeSignalAt(format, repeat, m.announced, speak_at));
    return;
  }
  outlet_.Announced(m.wall, kind, PlayTimeSignalAt(format, repeat, m.announced, m.wall));
}

void Application::NameNextFiring(const TickMoment& m, std::optional<size_t> index) {
  next_event_text_.clear();
  next_firing_.reset();
  if (!index) return;
  // The line names what will be heard next: an entry the quiet hours keep silent gives way to
  // the first one that sounds, and is named (marked) only when nothing else is left.
  std::optional<AudibleFiring> next = NextAudibleFiring(m);
  const bool kept_silent = !next;
  if (!next) {
    next = AudibleFiring{*index, LocalOf(schedule_.ScheduleEntries()[*index].Due +
                                         std::chrono::milliseconds(config_.SpeakOffset))};
  }
  const TSchedule& entry = schedule_.ScheduleEntries()[next->index];
  next_event_text_ = NextEventLabel(entry, next->nominal, m.now, holidays_);
  if (kept_silent) next_event_text_ += texts::kKeptSilentMark;
  const std::string text =
      entry.Cmd == ctSpeak ? SpeakTextFor(entry, next->nominal, holidays_) : entry.Msg;
  const WallMoment due = WallOfLocal(next->nominal, m.wall) - std::chrono::milliseconds(config_.SpeakOffset);
  next_firing_ = UpcomingFiring{due, next->nominal, FiringKindOf(entry.Cmd), text};
}

std::optional<Application::AudibleFiring> Application::NextAudibleFiring(const TickMoment& m) const {
  // How many quiet times an entry is followed through before it counts as silent for good.
  constexpr int kQuietTimesLookedPast = 8;
  std::optional<AudibleFiring> best;
  const auto& entries = schedule_.ScheduleEntries();
  for (size_t i = 0; i < entries.size(); ++i) {
    if (entries[i].NextTime <= 0) continue;
    TDateTime nominal = LocalOf(entries[i].Due + std::chrono::milliseconds(config_.SpeakOffset));
    for (int k = 0; nominal > 0 && k < kQuietTimesLookedPast; ++k) {
      const auto until = QuietUntil(nominal);
      if (!until) break;
      nominal = schedule_.PeekNextTime(i, AddMilliseconds(*until, -1));
    }
    if (nominal <= 0 || QuietUntil(nominal) || nominal < m.now) continue;
    if (!best || nominal < best->nominal) best = AudibleFiring{i, nominal};
  }
  return best;
}

void Application::PrepareUpcoming(const std::vector<UpcomingAnnouncement>& upcoming) {
  if (!outlet_.Plays()) return;  // a preview plays nothing
  if (planner_.Holding()) return;  // nothing is handed over while the desktop is busy
  for (const UpcomingAnnouncement& u : upcoming) {
    if (QuietUntil(u.announced)) continue;
    const std::string text =
        u.entry == nullptr        ? time_signal_.SpokenText(CountFormatAt(u.announced), u.announced)
        : u.entry->Cmd == ctSpeak ? SpeakTextFor(*u.entry, u.announced, holidays_)
                                  : time_signal_.SpokenText(u.entry->Msg, u.announced);
    if (!text.empty()) deps_.speech.Prepare(text);
  }
}

}  // namespace chimewell
