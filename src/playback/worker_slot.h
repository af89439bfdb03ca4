#pragma once
// One playback worker's life as its owner sees it: made on demand when an item is queued and
// there is none, handed its items, forgotten when it ends or is cleared, and replaced by a
// fresh one for the next item. The current worker is guarded by the roster's lock; the end
// notification runs on the UI thread.
#include <cstdint>
#include <functional>
#include <memory>

#include "playback/worker_roster.h"

namespace chimewell {

template <typename Worker>
class WorkerSlot {
 public:
  using Lock = WorkerRoster::Lock;
  // Makes a worker (not started); called with the roster's lock held.
  using Make = std::function<std::shared_ptr<Worker>()>;

  // `on_quiet` runs on the UI thread after a worker ends that was this slot's current one, or
  // one forgotten earlier once no slot has a current worker left.
  WorkerSlot(WorkerRoster& roster, Make make, std::function<void()> on_quiet)
      : roster_(roster), make_(std::move(make)), on_quiet_(std::move(on_quiet)) {}
  WorkerSlot(const WorkerSlot&) = delete;
  WorkerSlot& operator=(const WorkerSlot&) = delete;

  // Queues through `queue` into the current worker, or a fresh one when there is none or the
  // current one has just ended (`queue` then returns false). `hold` keeps an existing worker
  // held meanwhile.
  void Queue(const std::function<bool(Worker&)>& queue, bool hold) {
    roster_.ReapFinished();
    for (;;) {
      std::shared_ptr<Worker> worker;
      bool fresh = false;
      {
        const Lock lock = roster_.Locked();
        if (current_ == nullptr) {
          MakeCurrent(lock);
          fresh = true;
        }
        worker = current_;
      }
      if (hold && !fresh) worker->Hold();
      const bool accepted = queue(*worker);
      if (hold && !fresh) worker->Release();
      if (accepted) {
        if (fresh) worker->Start();
        return;
      }
      // The worker ran out of work and ended just now; the item goes to a fresh one.
      Forget(worker);
    }
  }

  std::shared_ptr<Worker> Current(const Lock& /*held*/) const { return current_; }
  std::shared_ptr<Worker> Current() const {
    const Lock lock = roster_.Locked();
    return current_;
  }

  // Lets go of the current worker without ending it; the next item starts a fresh one.
  std::shared_ptr<Worker> Take(const Lock& held) {
    auto worker = current_;
    SetCurrent(nullptr, held);
    return worker;
  }
  // Ends a worker taken from the slot; it finishes on its own and nobody waits for it here.
  static void Retire(const std::shared_ptr<Worker>& worker) {
    if (worker == nullptr) return;
    worker->MarkSuperseded();
    worker->Terminate();
  }

 private:
  void MakeCurrent(const Lock& held) {
    auto worker = make_();
    const uint64_t serial = roster_.Enrol(worker, held);
    // The notification is dropped by the hand-off once the owner is being destroyed.
    worker->SetEndNotification([this, serial] { Ended(serial); });
    SetCurrent(std::move(worker), held);
    serial_ = serial;
  }

  void Forget(const std::shared_ptr<Worker>& worker) {
    worker->MarkSuperseded();
    const Lock lock = roster_.Locked();
    if (current_ == worker) SetCurrent(nullptr, lock);
  }

  // On the UI thread: `serial` tells the worker that ended from a newer one.
  void Ended(uint64_t serial) {
    bool quiet = false;
    {
      const Lock lock = roster_.Locked();
      if (current_ != nullptr && serial_ == serial) {
        SetCurrent(nullptr, lock);
        quiet = true;
      } else {
        // A worker forgotten earlier (Clear All): a newer worker keeps its place, and the
        // owner hears of it only once nothing else may still play.
        quiet = roster_.NoneCurrent(lock);
      }
    }
    if (quiet && on_quiet_) on_quiet_();
    roster_.ReapFinished();
  }

  void SetCurrent(std::shared_ptr<Worker> worker, const Lock& held) {
    roster_.CountCurrent((worker != nullptr ? 1 : 0) - (current_ != nullptr ? 1 : 0), held);
    current_ = std::move(worker);
  }

  WorkerRoster& roster_;
  const Make make_;
  const std::function<void()> on_quiet_;
  std::shared_ptr<Worker> current_;  // guarded by the roster's lock
  uint64_t serial_ = 0;              // guarded by the roster's lock
};

}  // namespace chimewell
