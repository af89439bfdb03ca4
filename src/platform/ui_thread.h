#pragma once
// Hands work to the user-interface thread, which owns all application state.
#include <functional>

namespace chimewell {

class UiThread {
 public:
  virtual ~UiThread() = default;
  // Runs `step` on the UI thread and returns when it has run (runs it directly when called
  // on the UI thread). An exception thrown by `step` is rethrown in the caller.
  virtual void RunSync(const std::function<void()>& step) = 0;
  // Queues `step` to run on the UI thread later; returns at once.
  virtual void Post(std::function<void()> step) = 0;
};

// Runs every step at once on the calling thread: for tools and tests with no event loop.
class InlineUiThread final : public UiThread {
 public:
  void RunSync(const std::function<void()>& step) override { step(); }
  void Post(std::function<void()> step) override { step(); }
};

}  // namespace chimewell
