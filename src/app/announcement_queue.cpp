#include "app/announcement_queue.h"

#include <algorithm>

namespace chimewell {

std::optional<uint64_t> AnnouncementQueue::Add(Announcement announcement) {
  if (Size() >= kCapacity) return std::nullopt;
  const uint64_t id = next_id_++;
  entries_.push_back({id, std::move(announcement)});
  return id;
}

std::optional<AnnouncementQueue::Entry> AnnouncementQueue::TakeReady(
    WallMoment now, std::chrono::microseconds lead) {
  if (with_worker_) return std::nullopt;
  // The first in arrival order that may sound now: one without a moment, or one whose moment
  // is within the lead. A later moment does not hold up what arrived after it.
  const auto ready = std::find_if(entries_.begin(), entries_.end(), [&](const Entry& e) {
    return !e.announcement.at || *e.announcement.at - lead <= now;
  });
  if (ready == entries_.end()) return std::nullopt;
  Entry entry = std::move(*ready);
  entries_.erase(ready);
  with_worker_ = entry.id;
  return entry;
}

void AnnouncementQueue::Finished(uint64_t id) {
  if (with_worker_ == id) with_worker_.reset();
}

void AnnouncementQueue::Clear() {
  entries_.clear();
  with_worker_.reset();
}

std::optional<WallMoment> AnnouncementQueue::NextReadyMoment(std::chrono::microseconds lead) const {
  std::optional<WallMoment> next;
  for (const Entry& e : entries_) {
    if (!e.announcement.at) continue;
    const WallMoment ready = *e.announcement.at - lead;
    if (!next || ready < *next) next = ready;
  }
  return next;
}

}  // namespace chimewell
