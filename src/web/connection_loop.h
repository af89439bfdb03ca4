#pragma once
// The one thread that accepts, reads and writes every connection of the server, with a
// deadline for each stage of a request, however slowly its bytes arrive. Whole requests go
// to the handler pool; their answers come back here to be sent.
#include <atomic>
#include <chrono>
#include <cstdint>
#include <list>
#include <map>
#include <memory>
#include <set>
#include <string>

#include "web/handler_pool.h"
#include "web/http_limits.h"
#include "web/request_assembler.h"

namespace chimewell {

class ConnectionLoop {
 public:
  // Takes over `listen_fd` (non-blocking) and closes it at the end. `open_count` follows the
  // number of open connections.
  ConnectionLoop(int listen_fd, const HttpLimits& limits, HandlerPool& pool,
                 std::atomic<int>& open_count);
  ~ConnectionLoop();
  ConnectionLoop(const ConnectionLoop&) = delete;
  ConnectionLoop& operator=(const ConnectionLoop&) = delete;

  // Serves until Stop; then every connection is closed. Call on the loop's own thread.
  void Run();
  // From any thread.
  void Stop();

 private:
  using TimePoint = std::chrono::steady_clock::time_point;
  enum class Phase { kHead, kBody, kHandler, kSend };
  struct Connection;

  void Accept(TimePoint now);
  void Open(int fd, TimePoint now);
  void Read(Connection& c, TimePoint now);
  void Write(Connection& c);
  void TakeAnswers(TimePoint now);
  void StartAnswer(Connection& c, std::string answer, TimePoint now);
  void ExpireDeadlines(TimePoint now);
  int NextTimeoutMs(TimePoint now) const;
  void SetDeadline(Connection& c, int after_ms, TimePoint now);
  void ClearDeadline(Connection& c);
  void LeaveReading(Connection& c);
  void Hold(Connection& c, size_t bytes);
  // Frees room: the connection that has been reading its request longest gives way.
  bool EvictOldestReading();
  void EvictLargestWhileOverBudget();
  void Close(Connection& c);
  void Watch(int fd, uint64_t key, uint32_t events, bool add);

  const HttpLimits& limits_;
  HandlerPool& pool_;
  std::atomic<int>& open_count_;
  int listen_fd_;
  int epoll_fd_ = -1;
  int stop_fd_ = -1;
  int max_connections_;
  bool accept_paused_ = false;
  TimePoint accept_resume_{};
  uint64_t next_key_;
  int waiting_ = 0;  // requests handed to the pool and not answered yet
  size_t held_ = 0;  // bytes of requests and answers held by all connections
  std::map<uint64_t, std::unique_ptr<Connection>> connections_;
  std::set<std::pair<TimePoint, uint64_t>> deadlines_;
  std::list<uint64_t> reading_;  // connections still reading their request, oldest first
};

}  // namespace chimewell
