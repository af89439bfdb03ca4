#pragma once
// A few threads that turn whole requests into answers, so that a slow request handler never
// holds up the thread that reads and writes every connection. Owned by the server's run.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "web/http_request_info.h"

namespace chimewell {

class HandlerPool {
 public:
  // Makes the bytes to send back for one request; must not throw.
  using Work = std::function<std::string(HttpRequestInfo&)>;

  // Throws std::system_error when its threads or its wake-up descriptor cannot be made.
  HandlerPool(Work work, int threads);
  ~HandlerPool();
  HandlerPool(const HandlerPool&) = delete;
  HandlerPool& operator=(const HandlerPool&) = delete;

  // Readable (an eventfd) whenever answers are waiting to be taken.
  int WakeFd() const;
  void Submit(uint64_t connection, HttpRequestInfo request);
  std::vector<std::pair<uint64_t, std::string>> TakeAnswers();
  // Drops the requests not yet started and waits up to `wait_ms` for those that run. A
  // handler still running after that ends by itself later; its answer is dropped.
  void Stop(int wait_ms);

 private:
  struct State;
  // One thread's life: takes requests until the pool stops.
  static void Serve(const std::shared_ptr<State>& state);
  std::shared_ptr<State> state_;
};

}  // namespace chimewell
