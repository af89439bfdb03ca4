#pragma once
// The book over every playback worker one owner keeps: the one lock over all its worker slots,
// the pause that new workers start in, and the threads not joined yet, current or forgotten.
// Owned by Playback; used on the UI thread and by callers that queue items, never by a worker.
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

#include "core/fault.h"
#include "playback/worker_thread.h"

namespace chimewell {

class WorkerRoster {
 public:
  using Lock = std::unique_lock<std::mutex>;

  explicit WorkerRoster(FaultReport report_fault) : report_fault_(std::move(report_fault)) {}

  // Held while the slots look at or change their current workers; never across a wait.
  [[nodiscard]] Lock Locked() const { return Lock(mutex_); }

  // Takes in a worker just made: it reports its faults to the owner, starts held while paused,
  // and is joined once it finishes. Returns the serial that tells it from any later worker.
  uint64_t Enrol(const std::shared_ptr<WorkerThread>& worker, const Lock& held);
  // Pause on or off; false when it already was so.
  bool SetPaused(bool on, const Lock& held);
  // The slots report each worker they take as current (+1) or let go of (-1).
  void CountCurrent(int step, const Lock& /*held*/) { current_count_ += step; }
  bool NoneCurrent(const Lock& /*held*/) const { return current_count_ == 0; }

  // Joins workers whose threads have finished (never the calling thread).
  void ReapFinished();
  // Shut-down: ends every worker, forgotten ones still finishing included, and waits for
  // their threads. The owner calls off its hand-offs first, so none of them waits on it.
  void EndAll();
  // Worker threads still running, forgotten ones included.
  int RunningCount() const;

 private:
  const FaultReport report_fault_;
  mutable std::mutex mutex_;
  bool paused_ = false;                                 // guarded by mutex_
  uint64_t next_serial_ = 1;                            // guarded by mutex_
  int current_count_ = 0;                               // guarded by mutex_
  std::vector<std::shared_ptr<WorkerThread>> workers_;  // guarded by mutex_
};

}  // namespace chimewell
