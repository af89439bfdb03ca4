#pragma once
// The one thread that accepts, reads and writes every connection of the server, with a
// deadline for each stage of a request, however slowly its bytes arrive. Whole requests go
// to a handler pool, this machine's to one and other machines' to another; their answers
// come back here to be sent.
#include <array>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <list>
#include <map>
#include <memory>
#include <set>
#include <string>

#include "web/handler_pool.h"
#include "web/http_limits.h"
#include "web/request_assembler.h"

namespace chimewell {

// Where whole requests go. Other machines must give the password, whose check is slow on
// purpose: their requests have pools of their own, so that a flood of wrong passwords never
// holds up a request from this machine.
struct HandlerLanes {
  HandlerPool& this_machine;
  HandlerPool& other_machines;
  // Whether a client address is this machine (HttpRequestInfo::LocalPeer).
  std::function<bool(const std::string&)> is_this_machine;
};

class ConnectionLoop {
 public:
  // Takes over `listen_fd` (non-blocking) and closes it at the end, also when the loop cannot
  // be set up: then it throws std::system_error naming the call that failed. `open_count`
  // follows the number of open connections.
  ConnectionLoop(int listen_fd, const HttpLimits& limits, HandlerLanes lanes,
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
  void Open(int fd, std::string peer, TimePoint now);
  void Submit(Connection& c, HttpRequestInfo request, TimePoint now);
  void Read(Connection& c, TimePoint now);
  void Write(Connection& c);
  void TakeAnswers(size_t lane, TimePoint now);
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
  bool Watch(int fd, uint64_t key, uint32_t events, bool add);
  void CloseSetUp();

  const HttpLimits& limits_;
  std::array<HandlerPool*, 2> pools_;  // this machine's, other machines'
  std::function<bool(const std::string&)> is_this_machine_;
  std::atomic<int>& open_count_;
  int listen_fd_;
  int epoll_fd_ = -1;
  int stop_fd_ = -1;
  int max_connections_;
  bool accept_paused_ = false;
  TimePoint accept_resume_{};
  uint64_t next_key_;
  std::array<int, 2> waiting_{};  // per pool: requests handed to it and not answered yet
  size_t held_ = 0;               // bytes of requests and answers held by all connections
  std::map<uint64_t, std::unique_ptr<Connection>> connections_;
  std::set<std::pair<TimePoint, uint64_t>> deadlines_;
  std::list<uint64_t> reading_;  // connections still reading their request, oldest first
};

}  // namespace chimewell
