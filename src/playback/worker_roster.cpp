#include "playback/worker_roster.h"

#include <algorithm>
#include <iterator>

namespace chimewell {

uint64_t WorkerRoster::Enrol(const std::shared_ptr<WorkerThread>& worker, const Lock& /*held*/) {
  worker->SetFaultReport(report_fault_);
  if (paused_) worker->Suspend();
  workers_.push_back(worker);
  return next_serial_++;
}

bool WorkerRoster::SetPaused(bool on, const Lock& /*held*/) {
  if (paused_ == on) return false;
  paused_ = on;
  return true;
}

void WorkerRoster::ReapFinished() {
  std::vector<std::shared_ptr<WorkerThread>> finished;
  {
    const std::lock_guard lock(mutex_);
    auto done = std::stable_partition(workers_.begin(), workers_.end(),
                                      [](const auto& worker) { return !worker->Finished(); });
    finished.assign(std::make_move_iterator(done), std::make_move_iterator(workers_.end()));
    workers_.erase(done, workers_.end());
  }
  for (const auto& worker : finished) worker->Join();
}

void WorkerRoster::EndAll() {
  std::vector<std::shared_ptr<WorkerThread>> workers;
  {
    const std::lock_guard lock(mutex_);
    workers.swap(workers_);
  }
  for (const auto& worker : workers) worker->Terminate();
  for (const auto& worker : workers) worker->Join();
}

int WorkerRoster::RunningCount() const {
  const std::lock_guard lock(mutex_);
  return static_cast<int>(std::count_if(workers_.begin(), workers_.end(),
                                        [](const auto& worker) { return worker->Running(); }));
}

}  // namespace chimewell
