#pragma once
// Hands a worker's step to the user-interface thread and waits for it, in a way that can be
// called off at shut-down so that nobody ever waits for a UI thread that no longer runs.
#include <exception>
#include <functional>
#include <memory>

#include "platform/ui_thread.h"

namespace chimewell {

// Thrown in the worker when the hand-off has been closed before its step could run.
struct HandOffClosed : std::exception {
  const char* what() const noexcept override { return "hand-off to the UI thread closed"; }
};

class UiHandOff {
 public:
  explicit UiHandOff(UiThread& ui);

  // Runs `step` on the UI thread and returns when it has run. An exception thrown by the step
  // is rethrown here. Throws HandOffClosed when the hand-off is (or gets) closed before the
  // step starts; a step that has started always runs to its end.
  void Run(const std::function<void()>& step) const;
  // Queues `step` for the UI thread without waiting; it is dropped if the hand-off is closed
  // by the time the UI thread gets to it.
  void Post(std::function<void()> step) const;
  // From now on no step starts, and workers waiting in Run are released. Call on the UI thread.
  void Close() const;
  bool Closed() const;

 private:
  struct State;
  UiThread* ui_;
  std::shared_ptr<State> state_;
};

}  // namespace chimewell
