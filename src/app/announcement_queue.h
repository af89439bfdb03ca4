#pragma once
// The messages other systems asked to have spoken, waiting for the message worker: bounded,
// handed over one at a time in arrival order (those with a moment when it comes), so that a
// burst never overflows the worker's own queue and nothing accepted is dropped. A message
// counts until it has been spoken. Owned by the UI thread.
#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>

#include "app/announcement.h"

namespace chimewell {

class AnnouncementQueue {
 public:
  static constexpr size_t kCapacity = 100;

  struct Entry {
    uint64_t id = 0;
    Announcement announcement;
  };

  // The new entry's number, or none when the queue is full.
  std::optional<uint64_t> Add(Announcement announcement);
  // The entry to hand to the worker now: none while one is with the worker. A message with a
  // moment is ready `lead` before it; it goes ahead of those without a moment that came
  // after it. Marks it as with the worker.
  std::optional<Entry> TakeReady(WallMoment now, std::chrono::microseconds lead);
  // The worker is done with entry `id`; the next may go.
  void Finished(uint64_t id);
  // The worker that held an entry is gone without finishing it (Clear All, a fault): the
  // entry is not counted any longer.
  void ForgetHandedOver() { with_worker_.reset(); }
  // Empties the queue (Clear All).
  void Clear();

  // When the next message with a moment becomes ready; none when there is none.
  std::optional<WallMoment> NextReadyMoment(std::chrono::microseconds lead) const;
  bool HandedOver() const { return with_worker_.has_value(); }
  // Entries not yet spoken, the one with the worker included.
  size_t Size() const { return entries_.size() + (with_worker_ ? 1 : 0); }

 private:
  std::deque<Entry> entries_;
  std::optional<uint64_t> with_worker_;
  uint64_t next_id_ = 1;
};

}  // namespace chimewell
