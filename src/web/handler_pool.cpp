#include "web/handler_pool.h"

#include <sys/eventfd.h>
#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <system_error>
#include <thread>

namespace chimewell {

// Shared with the threads, which may outlive the pool when a handler overruns the stop.
struct HandlerPool::State {
  Work work;
  int wake_fd = -1;
  std::mutex mutex;
  std::condition_variable changed;
  std::deque<std::pair<uint64_t, HttpRequestInfo>> requests;
  std::vector<std::pair<uint64_t, std::string>> answers;
  bool stopping = false;
  int alive = 0;  // threads not yet ended
};

void HandlerPool::Serve(const std::shared_ptr<State>& state) {
  auto& s = *state;
  std::unique_lock lock(s.mutex);
  while (true) {
    s.changed.wait(lock, [&] { return s.stopping || !s.requests.empty(); });
    if (s.stopping) break;
    auto [connection, request] = std::move(s.requests.front());
    s.requests.pop_front();
    lock.unlock();
    std::string answer = s.work(request);
    lock.lock();
    if (s.stopping) break;
    s.answers.emplace_back(connection, std::move(answer));
    const uint64_t one = 1;
    [[maybe_unused]] const ssize_t written = write(s.wake_fd, &one, sizeof one);
  }
  --s.alive;
  s.changed.notify_all();
}

HandlerPool::HandlerPool(Work work, int threads) : state_(std::make_shared<State>()) {
  state_->work = std::move(work);
  state_->wake_fd = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
  // Without it no answer would ever be sent.
  if (state_->wake_fd < 0) throw std::system_error(errno, std::generic_category(), "eventfd");
  try {
    for (int i = 0; i < threads; ++i) {
      const std::lock_guard lock(state_->mutex);
      std::thread(Serve, state_).detach();
      ++state_->alive;
    }
  } catch (...) {
    Stop(0);  // the threads already started end
    close(state_->wake_fd);
    throw;
  }
}

HandlerPool::~HandlerPool() {
  Stop(0);
  // Closed now, not when a handler that overran the stop ends: a stopped thread never writes
  // to it again.
  const std::lock_guard lock(state_->mutex);
  close(state_->wake_fd);
  state_->wake_fd = -1;
}

int HandlerPool::WakeFd() const { return state_->wake_fd; }

void HandlerPool::Submit(uint64_t connection, HttpRequestInfo request) {
  const std::lock_guard lock(state_->mutex);
  state_->requests.emplace_back(connection, std::move(request));
  state_->changed.notify_one();
}

std::vector<std::pair<uint64_t, std::string>> HandlerPool::TakeAnswers() {
  uint64_t count = 0;
  [[maybe_unused]] const ssize_t n = read(state_->wake_fd, &count, sizeof count);
  const std::lock_guard lock(state_->mutex);
  return std::exchange(state_->answers, {});
}

void HandlerPool::Stop(int wait_ms) {
  std::unique_lock lock(state_->mutex);
  state_->stopping = true;
  state_->requests.clear();
  state_->changed.notify_all();
  state_->changed.wait_for(lock, std::chrono::milliseconds(wait_ms),
                           [&] { return state_->alive == 0; });
}

}  // namespace chimewell
