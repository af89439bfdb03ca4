#include "schedule/carry_over.h"

namespace chimewell {
namespace {

// The entry as its line made it, without where it has got to.
TSchedule Definition(TSchedule entry) {
  entry.NextTime = 0;
  entry.Due = WallMoment();
  return entry;
}

}  // namespace

CarryOver CarryOverUnchanged(const std::vector<TSchedule>& before, std::vector<TSchedule>& after) {
  std::vector<bool> passed_on(before.size(), false);
  for (TSchedule& entry : after) {
    const TSchedule wanted = Definition(entry);
    for (size_t i = 0; i < before.size(); ++i) {
      if (passed_on[i] || Definition(before[i]) != wanted) continue;
      passed_on[i] = true;
      entry.NextTime = before[i].NextTime;
      entry.Due = before[i].Due;
      break;
    }
  }
  CarryOver result;
  for (size_t i = 0; i < before.size(); ++i) {
    if (!passed_on[i] && before[i].Cmd == ctMidi) result.music_line_gone = true;
  }
  return result;
}

}  // namespace chimewell
