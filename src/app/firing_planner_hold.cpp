// The planner's rules for a busy desktop: entries that fall due during a call or Do Not
// Disturb wait, and play when it is free again, or are passed over once LateLimit has run out.
#include <algorithm>

#include "app/firing_planner.h"
#include "schedule/schedule.h"

namespace chimewell {

bool FiringPlanner::TakeHeld(size_t index, const TickMoment& m, std::vector<DueEntry>& due) {
  TSchedule& entry = schedule_.ScheduleEntries()[index];
  auto hold = FindHold(index);
  if (hold == holds_.end()) {
    if (!holding_) return false;
    hold = StartHold(index, m, due);
  }
  if (m.wall - entry.Due <= LateLimit()) {
    if (holding_) return true;
    holds_.erase(hold);
    return false;
  }
  DueEntry passed{&entry, true, entry.Due, m};
  passed.held_for = hold->reason;
  holds_.erase(hold);
  due.push_back(passed);
  // As after a suspend, only the first of its later moments that still counts plays.
  if (!CatchUpAfterWake(index, m, m.wall)) return true;
  if (!holding_) return false;
  StartHold(index, m, due);
  return true;
}

std::vector<FiringPlanner::Hold>::iterator FiringPlanner::StartHold(size_t index,
                                                                    const TickMoment& m,
                                                                    std::vector<DueEntry>& due) {
  // It waits for what keeps the desktop busy at its moment, and is logged as it starts to.
  TSchedule& entry = schedule_.ScheduleEntries()[index];
  DueEntry waits{&entry, false, entry.Due, m};
  waits.held_for = *holding_;
  waits.starts_waiting = true;
  due.push_back(waits);
  return holds_.insert(holds_.end(), Hold{index, entry.Due, *holding_});
}

std::vector<FiringPlanner::Hold>::const_iterator FiringPlanner::FindHold(size_t index) const {
  const TSchedule& entry = schedule_.ScheduleEntries()[index];
  return std::find_if(holds_.begin(), holds_.end(), [&](const Hold& hold) {
    return hold.index == index && hold.due == entry.Due;
  });
}

std::optional<WallMoment> FiringPlanner::HeldWake(size_t index) const {
  if (!holding_ || FindHold(index) == holds_.end()) return std::nullopt;
  return schedule_.ScheduleEntries()[index].Due + LateLimit() + std::chrono::milliseconds(1);
}

void FiringPlanner::DropStaleHolds() {
  // A new schedule or a new next moment leaves a hold behind; it no longer names its entry.
  const auto& entries = schedule_.ScheduleEntries();
  std::erase_if(holds_, [&](const Hold& hold) {
    return hold.index >= entries.size() || entries[hold.index].NextTime <= 0 ||
           entries[hold.index].Due != hold.due;
  });
}

}  // namespace chimewell
