#pragma once
// A UI thread of its own for the benchmarks that run the application without a window: one
// thread runs every step in order, as the program's event loop does.
#include <condition_variable>
#include <deque>
#include <functional>
#include <future>
#include <mutex>
#include <thread>

#include "platform/ui_thread.h"

namespace chimewell {

class LoopUiThread final : public UiThread {
 public:
  LoopUiThread() : thread_([this] { Loop(); }) {}
  ~LoopUiThread() override {
    {
      const std::lock_guard lock(mutex_);
      stop_ = true;
    }
    wake_.notify_all();
    thread_.join();
  }
  void RunSync(const std::function<void()>& step) override {
    if (std::this_thread::get_id() == thread_.get_id()) return step();
    std::packaged_task<void()> task(step);
    auto done = task.get_future();
    Post([&task] { task(); });
    done.get();
  }
  void Post(std::function<void()> step) override {
    {
      const std::lock_guard lock(mutex_);
      steps_.push_back(std::move(step));
    }
    wake_.notify_all();
  }

 private:
  void Loop() {
    for (;;) {
      std::function<void()> step;
      {
        std::unique_lock lock(mutex_);
        wake_.wait(lock, [&] { return stop_ || !steps_.empty(); });
        if (steps_.empty()) return;
        step = std::move(steps_.front());
        steps_.pop_front();
      }
      step();
    }
  }

  std::mutex mutex_;
  std::condition_variable wake_;
  std::deque<std::function<void()>> steps_;
  bool stop_ = false;
  std::thread thread_;
};

}  // namespace chimewell
