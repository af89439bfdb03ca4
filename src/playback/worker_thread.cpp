#include "playback/worker_thread.h"

#include <algorithm>
#include <utility>

namespace chimewell {

namespace {
// A held worker re-checks once an hour of clock time; any resume or terminate wakes it sooner.
constexpr int64_t kHoldRecheckMs = 3600 * 1000;
}  // namespace

WorkerThread::WorkerThread(Clock& clock, UiHandOff hand_off)
    : clock_(clock), hand_off_(std::move(hand_off)) {}

WorkerThread::~WorkerThread() {
  if (!thread_.joinable()) return;
  if (thread_.get_id() == std::this_thread::get_id()) {
    thread_.detach();
  } else {
    thread_.join();
  }
}

void WorkerThread::SetEndNotification(std::function<void()> on_end) { on_end_ = std::move(on_end); }

void WorkerThread::Start() {
  if (started_.exchange(true)) return;
  thread_ = std::thread(&WorkerThread::ThreadMain, this);
}

void WorkerThread::Suspend() { Count(suspend_count_, +1); }
void WorkerThread::Resume() { Count(suspend_count_, -1); }
void WorkerThread::Hold() { Count(hold_count_, +1); }
void WorkerThread::Release() { Count(hold_count_, -1); }

void WorkerThread::Count(int& count, int step) {
  const std::lock_guard lock(mutex_);
  count = std::max(count + step, 0);
  cv_.notify_all();
}

void WorkerThread::Terminate() {
  {
    const std::lock_guard lock(mutex_);
    terminated_ = true;
    cv_.notify_all();
  }
  OnTerminate();
}

void WorkerThread::MarkSuperseded() {
  const std::lock_guard lock(mutex_);
  superseded_ = true;
}

bool WorkerThread::Terminated() const {
  const std::lock_guard lock(mutex_);
  return terminated_;
}

void WorkerThread::Join() {
  if (thread_.joinable() && thread_.get_id() != std::this_thread::get_id()) thread_.join();
}

void WorkerThread::Sleep(int64_t ms, const std::function<bool()>& wake) {
  {
    std::unique_lock lock(mutex_);
    // A suspend does not cut the wait short: the worker holds once it is over, so a caller
    // that holds the worker briefly to queue an item leaves its timing alone.
    clock_.WaitFor(lock, cv_, ms, [&] { return terminated_ || (wake && wake()); });
  }
  HoldWhileSuspended();
}

void WorkerThread::HoldWhileSuspended() {
  std::unique_lock lock(mutex_);
  const auto free = [this] { return (suspend_count_ == 0 && hold_count_ == 0) || terminated_; };
  while (!free()) {
    clock_.WaitFor(lock, cv_, kHoldRecheckMs, free);
  }
}

void WorkerThread::ReportFault(const std::exception_ptr& error) const {
  try {
    std::rethrow_exception(error);
  } catch (const HandOffClosed&) {
    return;
  } catch (...) {
  }
  if (!report_fault_) return;
  hand_off_.Post(
      [report = report_fault_, text = DescribeFault("playback", error)] { report(text); });
}

void WorkerThread::ThreadMain() {
  try {
    Execute();
  } catch (...) {
    ReportFault(std::current_exception());
  }
  // The owner's handler forgets this worker; it runs only while the owner still lives.
  if (on_end_) hand_off_.Post(on_end_);
  finished_ = true;
}

}  // namespace chimewell
