#pragma once
// The main tick's timing rules, apart from what it plays: which schedule entries and counted
// seconds are due at a reading of the clocks, when the tick must run next, and how a suspend, a
// clock step, a daylight-saving change or a new time zone moves the due moments. Due moments
// are wall-clock deadlines; a jump of the wall clock is told from elapsed time.
#include <chrono>
#include <cstdint>
#include <limits>
#include <optional>
#include <vector>

#include "core/datetime.h"
#include "core/moments.h"
#include "schedule/schedule_entry.h"

namespace chimewell {

struct ConfigSettings;
class Schedule;

// One reading of the clocks for a run of the tick.
struct TickMoment {
  WallMoment wall;            // the wall clock
  ElapsedMoment elapsed;       // the elapsed-time clock
  TDateTime now = 0;           // the local time shown
  WallMoment announced_wall;   // wall + SpeakOffset: the moment an announcement names
  TDateTime announced = 0;     // ... as local time
};

// Why announcements that fall due wait instead of playing.
enum class HoldReason { kCall, kDoNotDisturb };

// A schedule entry the tick deals with now.
struct DueEntry {
  const TSchedule* entry = nullptr;
  bool passed_over = false;  // slept through and too late: logged, not played
  WallMoment due;            // passed over: the moment it was due
  TickMoment at;             // fired: the clocks as they read when it is heard
  // Passed over after waiting longer than LateLimit for the desktop: what it waited for.
  std::optional<HoldReason> held_for = std::nullopt;
  // Not fired: it began to wait for the desktop (held_for says why), to be logged as it does.
  bool starts_waiting = false;
};

// An announcement due within the preparation lead, whose speech is made ahead.
struct UpcomingAnnouncement {
  const TSchedule* entry = nullptr;  // none: the count
  TDateTime announced = 0;           // the local moment it names
};

// What the tick found ahead of it.
struct TickPlan {
  std::optional<size_t> next;  // the entry that fires next, as the status line names it
  std::vector<UpcomingAnnouncement> upcoming;
  std::optional<WallMoment> wake;  // the moment the tick must run at for them
};

// What the count says at an announced moment: the second, or the hour and minute at :00.
const char* CountFormatAt(TDateTime announced);

// Owned by the application and used by the thread that owns its state; reads the schedule's
// entries and writes their next moments.
class FiringPlanner {
 public:
  // Announcements (speech and time signals, scheduled or counted) go to the message worker
  // this long before their moment, so that their first sound can be placed on it; their speech
  // is synthesized from this long before.
  static constexpr std::chrono::milliseconds kHandOverLead{500};
  static constexpr std::chrono::milliseconds kPrepareLead{3000};
  // Sound files go to the worker this much earlier still: it reads and converts the file
  // before the placement (once per file; later plays take it from memory).
  static constexpr std::chrono::milliseconds kSoundLoadLead{1500};
  // The most a slow speech engine moves the preparation earlier.
  static constexpr std::chrono::milliseconds kLongestPrepareLead{15000};

  // Follows the speech engine's synthesis time: speech is prepared early enough for two
  // syntheses to finish before the hand-over (two announcements may fall due together), never
  // later than kPrepareLead.
  void FollowSynthesisTime(std::chrono::milliseconds synthesis);
  std::chrono::milliseconds PrepareLead() const { return prepare_lead_; }

  FiringPlanner(Schedule& schedule, const ConfigSettings& config);

  // The clocks read at the wall-clock moment `wall` and the elapsed-time moment `elapsed`.
  TickMoment Read(WallMoment wall, ElapsedMoment elapsed) const;
  // The clocks as they will read at `wall`, a moment shortly after `m`'s.
  TickMoment At(const TickMoment& m, WallMoment wall) const;

  // Compares this run's clocks with the last run's: notes a suspend or a forward step for the
  // next TakeDueEntries, and lets periodic entries follow a shown clock that went back.
  void NoteClockJumps(const TickMoment& m);
  // The entries due at `m`, in schedule order; those fired wait for Plan to give them their
  // next moment.
  std::vector<DueEntry> TakeDueEntries(const TickMoment& m);
  // The clocks at the count's moment due at `m` (`interval` seconds apart), once per second
  // shown.
  std::optional<TickMoment> TakeDueCount(const TickMoment& m, int interval);
  // Gives every entry without one its next moment and finds what comes next. `count_interval`:
  // 0 when the count is off; `last_drawn`: the local time the clock face last showed.
  TickPlan Plan(const TickMoment& m, int count_interval, TDateTime last_drawn);
  // When to arm the one-shot timer for `wake`; `showing`: the clock is drawn every second.
  // None: asleep until a command, a form or a direct call.
  std::optional<WallMoment> TimerMoment(const TickMoment& m, std::optional<WallMoment> wake,
                                        bool showing) const;
  // The machine's time zone changed: every next moment is the next one the clock shows in the
  // new zone.
  void FollowZoneChange(const TickMoment& m);
  // The holidays changed: every entry's next moment is judged again by its day rules.
  void FollowHolidayChange(const TickMoment& m);

  // Raised to 1 to have the next moments computed afresh (a new schedule, a new date).
  int RecomputeFlag() const { return recompute_flag_; }
  void SetRecomputeFlag(int flag) { recompute_flag_ = flag; }

  // While a reason is given the desktop is busy: entries that fall due wait instead of firing,
  // and one that has waited longer than LateLimit is passed over. Once it is free again,
  // those still within LateLimit fire at the next run, naming the moment they play.
  void SetHolding(std::optional<HoldReason> reason) { holding_ = reason; }
  std::optional<HoldReason> Holding() const { return holding_; }

  static bool AnnouncesAhead(const TSchedule& entry) {
    return entry.Cmd == ctSpeak || entry.Cmd == ctTime;
  }

 private:
  std::chrono::milliseconds prepare_lead_ = kPrepareLead;
  std::vector<size_t> fired_now_;  // taken by TakeDueEntries, until Plan gives them a moment
  void FollowShownClockBack(const TickMoment& m, std::chrono::milliseconds elapsed);
  // Entry `index`'s next firing from the local moment `reference` (`not_before`: which of a
  // repeated hour's two moments is meant).
  void ComputeNextTime(size_t index, TDateTime reference, WallMoment not_before);
  void ComputeNextTime(size_t index, TDateTime reference, WallMoment not_before,
                       int recompute_flag);
  void ClearNextTime(TSchedule& entry);
  // After passing over entry `index`'s moment slept through (`woke_at`: the wall clock at the
  // wake), moves it to its first moment that still counts; true when that is due now.
  bool CatchUpAfterWake(size_t index, const TickMoment& m, WallMoment woke_at);
  bool BackgroundWindowOpen(size_t index, TDateTime announced) const;
  std::chrono::milliseconds LateLimit() const;
  std::chrono::milliseconds SpeakOffset() const;
  // The latest moment at or before `wall` whose announced second the count speaks.
  WallMoment CountMomentAtOrBefore(WallMoment wall, int interval) const;
  // The moment the tick must run at for `entry`: to prepare it, to hand it over, or (music)
  // as it falls due.
  WallMoment WakeFor(const TSchedule& entry, WallMoment now) const;
  // How long before its due moment `entry` goes to the worker.
  std::chrono::milliseconds HandOverLead(const TSchedule& entry) const;
  // An announcement due at `due`: the tick wakes to prepare it, or, once that is past, to hand
  // it over.
  WallMoment AnnouncementWake(WallMoment due, WallMoment now) const;
  std::vector<UpcomingAnnouncement> Upcoming(const TickMoment& m,
                                             std::optional<WallMoment> next_count) const;

  // An entry waiting for the desktop since its moment `due`.
  struct Hold {
    size_t index = 0;
    WallMoment due;
    HoldReason reason = HoldReason::kCall;
  };
  // Due entry `index` while the desktop is busy or after it waited for it: true when it waits
  // on or was passed over (then its next moment is not due yet), false when it fires now.
  bool TakeHeld(size_t index, const TickMoment& m, std::vector<DueEntry>& due);
  std::vector<Hold>::const_iterator FindHold(size_t index) const;
  // Entry `index` begins to wait at its moment for what keeps the desktop busy now.
  std::vector<Hold>::iterator StartHold(size_t index, const TickMoment& m,
                                        std::vector<DueEntry>& due);
  // While holding, a waiting entry wakes the tick when its LateLimit runs out, not at once.
  std::optional<WallMoment> HeldWake(size_t index) const;
  void DropStaleHolds();

  Schedule& schedule_;
  const ConfigSettings& config_;
  int recompute_flag_ = 0;
  TDateTime recomputed_date_ = 0;  // the date whose change last raised recompute_flag_
  // The latest moment the last TakeDueEntries fired (it may lie a little ahead): the entries
  // fired are computed anew from just after it, not from now.
  std::optional<WallMoment> handed_over_until_;
  // The clocks at the last run, to tell a jump of the wall clock from time passing.
  std::optional<TickMoment> last_moment_;
  // The wall clock when a suspend or a forward step was noticed, until the next firing pass.
  std::optional<WallMoment> jumped_forward_at_;
  // The shown second the count last spoke, so that a second is counted once per run forward.
  int64_t last_count_second_ = std::numeric_limits<int64_t>::min();
  std::optional<HoldReason> holding_;
  std::vector<Hold> holds_;
};

}  // namespace chimewell
