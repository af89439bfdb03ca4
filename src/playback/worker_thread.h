#pragma once
// What both playback workers share: a thread started on demand, suspend and resume by count,
// terminate, waits on the injected clock, and an end notification on the UI thread.
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>

#include "core/clock.h"
#include "core/fault.h"
#include "playback/ui_hand_off.h"

namespace chimewell {

class WorkerThread {
 public:
  WorkerThread(Clock& clock, UiHandOff hand_off);
  WorkerThread(const WorkerThread&) = delete;
  WorkerThread& operator=(const WorkerThread&) = delete;
  // The owner joins before it lets go; a worker dropped on its own thread detaches.
  virtual ~WorkerThread();

  // Runs on the UI thread once the worker has ended (after its own clean-up).
  void SetEndNotification(std::function<void()> on_end);
  // Receives, on the UI thread, a fault that ended the worker (not a closed hand-off).
  void SetFaultReport(FaultReport report) { report_fault_ = std::move(report); }

  // A new worker is suspended: Start runs its thread. Later calls do nothing.
  void Start();
  // A pause: Suspend and Resume nest. A suspended worker stops at its next wait or step, and
  // a step that was about to start something (an utterance) drops it.
  void Suspend();
  void Resume();
  // A caller that queues an item holds the worker briefly: it stops at its next wait or step
  // like a suspended one, but a hold is no pause, so a step under way goes on as it would.
  void Hold();
  void Release();
  // Asks the worker to end; it wakes from any wait at once. Never waits for it.
  void Terminate();
  // The owner has forgotten this worker; its clean-up then leaves shared outputs (speech,
  // music) alone, which may by now belong to a newer worker.
  void MarkSuperseded();

  bool Terminated() const;
  // True from Start until the thread has done its last piece of work.
  bool Running() const { return started_.load() && !finished_.load(); }
  // True once the thread has done its last piece of work (joining it then returns at once).
  bool Finished() const { return finished_.load(); }
  // Waits for the thread to return. Only for owners that know the worker cannot be waiting on
  // them (it is finished, or its hand-off has been closed).
  void Join();

 protected:
  // The lock that guards this class's flags and the derived worker's queues and state alike,
  // so that a worker decides to end and refuses further items in one step.
  using Lock = std::unique_lock<std::mutex>;
  [[nodiscard]] Lock Locked() const { return Lock(mutex_); }
  // Wakes the worker from its wait so that it looks at its queues again.
  void Wake() { cv_.notify_all(); }

  // The worker's whole life: its loop and its own clean-up. The end notification follows.
  virtual void Execute() = 0;
  // Hook for workers that must cut something short when terminated (called without the lock).
  virtual void OnTerminate() {}

  // Waits `ms` milliseconds of the clock, then holds while suspended. Ends early when the
  // worker is terminated or when `wake` (checked with the lock held) turns true.
  void Sleep(int64_t ms, const std::function<bool()>& wake = {});
  // Holds the worker while it is suspended or held (and not terminated).
  void HoldWhileSuspended();
  // Tells `error` through the fault report; a closed hand-off at shut-down is no fault.
  void ReportFault(const std::exception_ptr& error) const;

  // The flags below are read and set with the lock held, shown by passing it.
  bool Terminated(const Lock& /*held*/) const { return terminated_; }
  // Suspended or terminated: the worker should not start anything now.
  bool Stopping(const Lock& /*held*/) const { return suspend_count_ > 0 || terminated_; }
  // Queue operations take items only while this holds; see MarkEnded.
  bool Accepting(const Lock& /*held*/) const { return !ended_ && !terminated_; }
  // The worker has run out of work or is ending: from now on it refuses items, and their
  // callers hand them to a fresh worker instead.
  void MarkEnded(const Lock& /*held*/) { ended_ = true; }
  bool Superseded(const Lock& /*held*/) const { return superseded_; }

  Clock& clock_;
  const UiHandOff hand_off_;

 private:
  void ThreadMain();
  // Moves a suspend or hold count by `step`, never below zero, and wakes the worker.
  void Count(int& count, int step);

  mutable std::mutex mutex_;
  std::condition_variable cv_;
  bool terminated_ = false;  // guarded by mutex_
  bool ended_ = false;       // guarded by mutex_
  bool superseded_ = false;  // guarded by mutex_
  int suspend_count_ = 0;    // guarded by mutex_
  int hold_count_ = 0;       // guarded by mutex_
  std::function<void()> on_end_;
  FaultReport report_fault_;
  std::thread thread_;
  std::atomic<bool> started_{false};
  std::atomic<bool> finished_{false};
};

}  // namespace chimewell
