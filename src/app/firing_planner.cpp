#include "app/firing_planner.h"

#include <algorithm>
#include <cmath>

#include "core/local_time.h"
#include "core/settings.h"
#include "schedule/schedule.h"

namespace chimewell {
namespace {

using std::chrono::milliseconds;

// The furthest one timer run reaches (about 24.8 days): an entry due later wakes the clock at
// this bound, and that run looks again, so that a hidden clock never sleeps past it.
constexpr milliseconds kLongestWait{std::numeric_limits<int32_t>::max()};
// A wall clock that moved this much more (or less) than the time elapsed was set, or the
// machine slept. Slewing by NTP never comes near it.
constexpr milliseconds kJump{1000};
// How far back a shown clock that went back is taken to have resumed: the most a showing
// window's runs lie apart, so that a due moment just reached again is not missed.
constexpr milliseconds kLongestTickGap{1100};
constexpr milliseconds kOneMs{1};

int64_t LocalMs(TDateTime t) { return std::llround(t * kMsPerDay); }

int64_t FloorDiv(int64_t a, int64_t b) { return a / b - (a % b != 0 && (a < 0) != (b < 0)); }

bool IsPeriodic(const TSchedule& entry) { return entry.Mode == imSkip || entry.Mode == imRegular; }

}  // namespace

const char* CountFormatAt(TDateTime announced) {
  return DecodeDateTime(announced).second != 0 ? "[sec]" : "[hour][min]";
}

FiringPlanner::FiringPlanner(Schedule& schedule, const ConfigSettings& config)
    : schedule_(schedule), config_(config) {}

TickMoment FiringPlanner::Read(WallMoment wall, ElapsedMoment elapsed) const {
  TickMoment m;
  m.wall = wall;
  m.elapsed = elapsed;
  m.now = LocalOf(m.wall);
  // The moment named is SpeakOffset of elapsed time ahead, in the local time it will then be:
  // across a daylight-saving change that is the time the clock will show.
  m.announced_wall = m.wall + SpeakOffset();
  m.announced = LocalOf(m.announced_wall);
  return m;
}

TickMoment FiringPlanner::At(const TickMoment& m, WallMoment wall) const {
  return Read(wall, m.elapsed + std::chrono::duration_cast<milliseconds>(wall - m.wall));
}

milliseconds FiringPlanner::LateLimit() const { return std::chrono::seconds(config_.LateLimit); }

milliseconds FiringPlanner::SpeakOffset() const { return milliseconds(config_.SpeakOffset); }

void FiringPlanner::FollowSynthesisTime(milliseconds synthesis) {
  prepare_lead_ = std::clamp(2 * synthesis + kHandOverLead, kPrepareLead, kLongestPrepareLead);
}

void FiringPlanner::NoteClockJumps(const TickMoment& m) {
  if (last_moment_) {
    const TickMoment& last = *last_moment_;
    const milliseconds elapsed = m.elapsed - last.elapsed;
    // How much further the wall clock moved than the time that elapsed (the one place the two
    // clocks are compared).
    const auto wall_drift = (m.wall - last.wall) - elapsed;
    // The announced moment's offset: a daylight-saving change is followed from the run whose
    // announcement falls after it.
    const auto offset_change = UtcOffset(m.announced_wall) - UtcOffset(last.announced_wall);
    if (wall_drift >= kJump) jumped_forward_at_ = m.wall;
    if (wall_drift + offset_change <= -kJump) FollowShownClockBack(m, elapsed);
  }
  last_moment_ = m;
}

void FiringPlanner::FollowShownClockBack(const TickMoment& m, milliseconds elapsed) {
  // Periodic entries fire again at each due moment the shown clock reaches anew; once-a-day
  // entries keep their next date, so they never fire twice for one date.
  const milliseconds back = std::clamp(elapsed, milliseconds::zero(), kLongestTickGap);
  const TDateTime reference = AddMilliseconds(m.announced, -back.count());
  auto& entries = schedule_.ScheduleEntries();
  for (size_t i = 0; i < entries.size(); ++i) {
    if (IsPeriodic(entries[i]) && entries[i].NextTime != 0) {
      ComputeNextTime(i, reference, m.announced_wall - back);
    }
  }
  last_count_second_ = std::numeric_limits<int64_t>::min();
}

void FiringPlanner::FollowZoneChange(const TickMoment& m) {
  // A traveller hears the 7 o'clock signal at 7 where they are, also when that 7 o'clock comes
  // round again.
  auto& entries = schedule_.ScheduleEntries();
  for (size_t i = 0; i < entries.size(); ++i) {
    if (entries[i].NextTime > 0) ComputeNextTime(i, m.announced, m.announced_wall);
  }
  // The count goes by the seconds the clock shows, which may now come again.
  last_count_second_ = std::numeric_limits<int64_t>::min();
  last_moment_.reset();
}

void FiringPlanner::FollowHolidayChange(const TickMoment& m) {
  // What falls due within its hand-over lead may be on its way to the worker already: it
  // stays, and the others are computed from past the lead, so that none is handed over twice.
  // (A sound file's lead is longer, by its load time and the mark inside it.)
  auto& entries = schedule_.ScheduleEntries();
  for (size_t i = 0; i < entries.size(); ++i) {
    const TickMoment past_lead =
        At(m, m.wall + std::max(HandOverLead(entries[i]), milliseconds(kHandOverLead)) + kOneMs);
    if (entries[i].NextTime > 0 && entries[i].Due <= past_lead.wall) continue;
    ComputeNextTime(i, past_lead.announced, past_lead.announced_wall);
  }
}

void FiringPlanner::ClearNextTime(TSchedule& entry) {
  // No next time stays "never": with a negative offset a plain subtraction would turn it into
  // a moment in 1899 that fires at once.
  entry.NextTime = -1;
  entry.Due = WallMoment();
}

void FiringPlanner::ComputeNextTime(size_t index, TDateTime reference, WallMoment not_before) {
  ComputeNextTime(index, reference, not_before, recompute_flag_);
}

void FiringPlanner::ComputeNextTime(size_t index, TDateTime reference, WallMoment not_before,
                                    int recompute_flag) {
  TSchedule& entry = schedule_.ScheduleEntries()[index];
  TDateTime next = schedule_.MakeNextTime(index, reference, recompute_flag);
  if (next == 0) return ClearNextTime(entry);
  WallMoment at = WallOfLocal(next, not_before);
  if (IsPeriodic(entry) && LocalMs(LocalOf(at)) != LocalMs(next)) {
    // A periodic moment in the hour skipped in spring does not exist: the next one after the
    // skip is meant. (A once-a-day entry fires as the clock jumps past its time.)
    next = schedule_.MakeNextTime(index, AddMilliseconds(LocalOf(at), -1), recompute_flag);
    if (next == 0) return ClearNextTime(entry);
    at = WallOfLocal(next, at);
  }
  entry.Due = at - SpeakOffset();
  entry.NextTime = LocalOf(entry.Due);
}

std::vector<DueEntry> FiringPlanner::TakeDueEntries(const TickMoment& m) {
  std::vector<DueEntry> due;
  auto& entries = schedule_.ScheduleEntries();
  for (size_t i = 0; i < entries.size(); ++i) {
    TSchedule& entry = entries[i];
    if (entry.NextTime <= 0 || m.wall < entry.Due - HandOverLead(entry)) continue;
    if (TakeHeld(i, m, due)) continue;
    // What fell due during a suspend or was stepped over and is too late now is not played;
    // music whose window is still open starts as it does at start-up. A moment named at or
    // after the wake was not slept through, however early its hand-over fell.
    const bool slept_through =
        jumped_forward_at_ && entry.Due + SpeakOffset() < *jumped_forward_at_;
    const bool too_late = slept_through && m.wall - entry.Due > LateLimit();
    if (too_late && !BackgroundWindowOpen(i, m.announced)) {
      due.push_back({&entry, true, entry.Due, m});
      // Its later moments are not lost with it: one that is still due now plays.
      if (!CatchUpAfterWake(i, m, *jumped_forward_at_)) continue;
    }
    const WallMoment at = std::max(m.wall, entry.Due);
    due.push_back({&entry, false, entry.Due, At(m, at)});
    handed_over_until_ = std::max(handed_over_until_.value_or(at), at);
    entry.NextTime = 0;
    fired_now_.push_back(i);
  }
  jumped_forward_at_.reset();
  return due;
}

bool FiringPlanner::CatchUpAfterWake(size_t index, const TickMoment& m, WallMoment woke_at) {
  TSchedule& entry = schedule_.ScheduleEntries()[index];
  // The earliest moment that still counts: one named at or after the wake, or one slept
  // through that LateLimit still lets play. Only the first of them plays now; the rest of
  // what the sleep covered went with the line passed over.
  const WallMoment floor =
      std::max(entry.Due + kOneMs, std::min(woke_at - SpeakOffset(), m.wall - LateLimit()));
  const WallMoment reference = floor + SpeakOffset() - kOneMs;
  ComputeNextTime(index, LocalOf(reference), reference);
  // Not due yet: it stays the entry's next moment.
  return entry.NextTime > 0 && m.wall >= entry.Due - HandOverLead(entry);
}

bool FiringPlanner::BackgroundWindowOpen(size_t index, TDateTime announced) const {
  return schedule_.ScheduleEntries()[index].Mode == imBGM &&
         schedule_.MakeNextTime(index, announced, 1) <= announced;
}

std::optional<TickMoment> FiringPlanner::TakeDueCount(const TickMoment& now, int interval) {
  // The count due within the hand-over lead, or in the second now announced.
  const WallMoment due = CountMomentAtOrBefore(now.wall + kHandOverLead, interval);
  if (due <= now.wall - std::chrono::seconds(1)) return std::nullopt;
  const TickMoment m = At(now, std::max(now.wall, due));
  if (DecodeDateTime(m.announced).second % interval != 0) return std::nullopt;
  const int64_t shown_second = FloorDiv(LocalMs(m.announced), 1000);
  if (shown_second <= last_count_second_) return std::nullopt;  // counted in this run forward
  last_count_second_ = shown_second;
  return m;
}

WallMoment FiringPlanner::CountMomentAtOrBefore(WallMoment wall, int interval) const {
  // Counted on the shown clock's milliseconds, whatever finer part `wall` carries.
  const int64_t period = interval * 1000LL;
  const WallMoment announced = wall + SpeakOffset();
  const int64_t shown = (announced + UtcOffset(announced)).UnixMs();
  return wall - milliseconds(((shown % period) + period) % period);
}

TickPlan FiringPlanner::Plan(const TickMoment& m, int count_interval, TDateTime last_drawn) {
  // A new date recomputes once. While the window is hidden the clock is not drawn, so the last
  // drawing stays on the old date; raising the flag on every run would let a background entry
  // whose window is open fire again at each tick.
  if (DateOf(last_drawn) != DateOf(m.announced) && DateOf(m.announced) != recomputed_date_) {
    recompute_flag_ = 1;
    recomputed_date_ = DateOf(m.announced);
  }

  TickPlan plan;
  std::optional<WallMoment> best;
  const TickMoment from =
      handed_over_until_ ? At(m, std::max(m.wall, *handed_over_until_ + kOneMs)) : m;
  DropStaleHolds();
  handed_over_until_.reset();
  auto& entries = schedule_.ScheduleEntries();
  for (size_t i = entries.size(); i-- > 0;) {
    const TSchedule& entry = entries[i];
    if (entry.NextTime == 0) {
      // An entry that fired in this run has its window just begun: a new date's recompute
      // would start its music a second time.
      const bool fired = std::find(fired_now_.begin(), fired_now_.end(), i) != fired_now_.end();
      ComputeNextTime(i, from.announced, from.announced_wall, fired ? 0 : recompute_flag_);
    }
    if (entry.NextTime <= 0) continue;
    const WallMoment wake =
        std::min(HeldWake(i).value_or(WakeFor(entry, m.wall)), m.wall + kLongestWait);
    plan.wake = std::min(plan.wake.value_or(wake), wake);
    // Equal moments: the entry nearer the start of the list names the line.
    if (best && entry.Due > *best) continue;
    best = entry.Due;
    plan.next = i;
  }
  recompute_flag_ = 0;
  fired_now_.clear();

  std::optional<WallMoment> next_count;
  if (count_interval > 0) {
    // The next count after the one within reach now: prepared, then handed over.
    next_count = CountMomentAtOrBefore(m.wall + kHandOverLead, count_interval) +
                 std::chrono::seconds(count_interval);
    const WallMoment wake = AnnouncementWake(*next_count, m.wall);
    plan.wake = std::min(plan.wake.value_or(wake), wake);
  }
  plan.upcoming = Upcoming(m, next_count);
  return plan;
}

std::vector<UpcomingAnnouncement> FiringPlanner::Upcoming(
    const TickMoment& m, std::optional<WallMoment> next_count) const {
  // Only what falls due within the lead: the tick runs every second.
  const auto within_lead = [&](WallMoment due) {
    return due > m.wall && due - m.wall <= prepare_lead_;
  };
  std::vector<UpcomingAnnouncement> upcoming;
  for (const TSchedule& entry : schedule_.ScheduleEntries()) {
    if (entry.NextTime <= 0 || !AnnouncesAhead(entry) || !within_lead(entry.Due)) continue;
    upcoming.push_back({&entry, At(m, entry.Due).announced});
  }
  if (next_count && within_lead(*next_count)) {
    upcoming.push_back({nullptr, At(m, *next_count).announced});
  }
  return upcoming;
}

milliseconds FiringPlanner::HandOverLead(const TSchedule& entry) const {
  if (entry.Cmd == ctWave || entry.MarkMs > 0) {
    // A sound file (or a time signal's chime) is placed on the moment it names, its mark
    // SpeakOffset after the entry's due moment; one whose mark lies further in starts before
    // that, and goes over earlier.
    const milliseconds inside = milliseconds(entry.MarkMs) - SpeakOffset();
    return kHandOverLead + kSoundLoadLead + std::max(inside, milliseconds::zero());
  }
  return AnnouncesAhead(entry) ? kHandOverLead : milliseconds::zero();
}

WallMoment FiringPlanner::WakeFor(const TSchedule& entry, WallMoment now) const {
  if (entry.Cmd == ctWave) return entry.Due - HandOverLead(entry);
  if (!AnnouncesAhead(entry)) return entry.Due + kOneMs;  // a millisecond after it falls due
  return std::min(AnnouncementWake(entry.Due, now), entry.Due - HandOverLead(entry));
}

WallMoment FiringPlanner::AnnouncementWake(WallMoment due, WallMoment now) const {
  const WallMoment prepare_at = due - prepare_lead_;
  return prepare_at > now ? prepare_at : due - kHandOverLead;
}

std::optional<WallMoment> FiringPlanner::TimerMoment(const TickMoment& m,
                                                     std::optional<WallMoment> wake,
                                                     bool showing) const {
  if (wake) {
    // When the shown clock is to go back before then, wake as the announcement crosses it
    // (as ever a millisecond late), so that periodic entries follow it back.
    const auto change = NextOffsetChange(m.announced_wall, *wake + SpeakOffset());
    if (change && UtcOffset(*change) < UtcOffset(m.announced_wall)) {
      wake = std::min(*wake, *change - SpeakOffset() + kOneMs);
    }
  }
  if (!showing) return wake;
  // Every second for the clock, and between seconds for what is due.
  const WallMoment next_second =
      WallMoment::FromUnixMs((FloorDiv(m.wall.UnixMs(), 1000) + 1) * 1000 + 1);
  return std::min(next_second, wake.value_or(next_second));
}

}  // namespace chimewell
