#include "playback/ui_hand_off.h"

#include <condition_variable>
#include <mutex>

namespace chimewell {

struct UiHandOff::State {
  std::mutex mutex;
  std::condition_variable cv;
  bool closed = false;
};

namespace {

enum class CallPhase { kPending, kRunning, kDone };

struct Call {
  CallPhase phase = CallPhase::kPending;
  std::exception_ptr error;
};

}  // namespace

UiHandOff::UiHandOff(UiThread& ui) : ui_(&ui), state_(std::make_shared<State>()) {}

void UiHandOff::Run(const std::function<void()>& step) const {
  auto call = std::make_shared<Call>();
  {
    const std::lock_guard lock(state_->mutex);
    if (state_->closed) throw HandOffClosed();
  }
  // The posted closure keeps the state and the call alive; it touches `step` only when it
  // starts, and it cannot start once the hand-off is closed, so a worker that has given up
  // waiting never has its (by then dangling) step run.
  ui_->Post([state = state_, call, step] {
    {
      const std::lock_guard lock(state->mutex);
      if (state->closed) return;
      call->phase = CallPhase::kRunning;
    }
    try {
      step();
    } catch (...) {
      call->error = std::current_exception();
    }
    const std::lock_guard lock(state->mutex);
    call->phase = CallPhase::kDone;
    state->cv.notify_all();
  });
  std::unique_lock lock(state_->mutex);
  state_->cv.wait(lock, [&] {
    return call->phase == CallPhase::kDone ||
           (state_->closed && call->phase == CallPhase::kPending);
  });
  if (call->phase != CallPhase::kDone) throw HandOffClosed();
  if (call->error) std::rethrow_exception(call->error);
}

void UiHandOff::Post(std::function<void()> step) const {
  ui_->Post([state = state_, step = std::move(step)] {
    {
      const std::lock_guard lock(state->mutex);
      if (state->closed) return;
    }
    step();
  });
}

void UiHandOff::Close() const {
  const std::lock_guard lock(state_->mutex);
  state_->closed = true;
  state_->cv.notify_all();
}

bool UiHandOff::Closed() const {
  const std::lock_guard lock(state_->mutex);
  return state_->closed;
}

}  // namespace chimewell
