#pragma once
// The rules the message worker applies to its queued speech texts and WAVE files alike.
#include <cstddef>
#include <vector>

#include "core/clock.h"
#include "core/datetime.h"
#include "playback/message_thread.h"

namespace chimewell {

// Drops the whole list when it overflows, else the entries that are used up and past their
// end time, walking from the back.
template <typename Rec>
void PurgeRecords(std::vector<Rec>& list, TDateTime now) {
  if (list.size() > TMessageThread::kMaxRecords) {
    list.clear();
    return;
  }
  for (size_t i = list.size(); i-- > 0;) {
    if (list[i].Count <= 0 && list[i].EndTime < now)
      list.erase(list.begin() + static_cast<ptrdiff_t>(i));
  }
}

// The first entry with plays left; else the first whose end time lies ahead (the clock is read
// anew for each entry). Returns the index, or -1.
template <typename Rec>
ptrdiff_t ChooseEntry(const std::vector<Rec>& list, const Clock& clock, bool* timed) {
  for (size_t i = 0; i < list.size(); ++i) {
    if (list[i].Count > 0) {
      *timed = false;
      return static_cast<ptrdiff_t>(i);
    }
  }
  for (size_t i = 0; i < list.size(); ++i) {
    if (list[i].EndTime > clock.Now()) {
      *timed = true;
      return static_cast<ptrdiff_t>(i);
    }
  }
  return -1;
}

}  // namespace chimewell
