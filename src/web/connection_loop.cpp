#include "web/connection_loop.h"

#include <sys/epoll.h>
#include <sys/eventfd.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <system_error>

#include "web/http_response.h"
#include "web/socket_io.h"

namespace chimewell {
namespace {

constexpr uint64_t kListenKey = 1;
constexpr uint64_t kStopKey = 2;
constexpr uint64_t kAnswersKey = 3;  // plus the lane: 3 this machine's, 4 other machines'
constexpr size_t kThisMachineLane = 0;
constexpr size_t kOtherMachinesLane = 1;
constexpr uint64_t kFirstConnectionKey = 16;
constexpr int kMaxEvents = 256;
constexpr int kAcceptsPerWake = 64;
constexpr size_t kReadChunk = 16 * 1024;
constexpr size_t kReadPerWake = 64 * 1024;  // then other connections get their turn
// How long accepting rests when the process is out of descriptors and nobody can give way.
constexpr int kAcceptPauseMs = 100;
// Descriptors kept free for the rest of the program (files, sound, speech) at the limit.
constexpr rlim_t kSpareDescriptors = 64;

int ConnectionCap(int configured) {
  rlimit limit{};
  if (getrlimit(RLIMIT_NOFILE, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY) return configured;
  const rlim_t usable = limit.rlim_cur > 2 * kSpareDescriptors ? limit.rlim_cur - kSpareDescriptors
                                                               : limit.rlim_cur / 2;
  return static_cast<int>(std::min<rlim_t>(static_cast<rlim_t>(configured), usable));
}

std::string BusyAnswer() {
  HttpResponseInfo response;
  response.StatusCode = 503;
  response.StatusText = "Service Unavailable";
  response.ExtraHeaders.push_back("Retry-After: 1");
  return WriteResponseHeader(response, DefaultProductToken());
}

[[noreturn]] void ThrowSetUpError(const char* call) {
  throw std::system_error(errno, std::generic_category(), call);
}

bool IsTransientAcceptError(int error) { return error == EINTR || error == ECONNABORTED; }

bool IsOutOfResources(int error) {
  return error == EMFILE || error == ENFILE || error == ENOBUFS || error == ENOMEM;
}

}  // namespace

struct ConnectionLoop::Connection {
  Connection(uint64_t key, int fd, std::string peer, const HttpLimits& limits, TimePoint now)
      : key(key), fd(fd), request(limits, std::move(peer)), opened(now) {}
  uint64_t key;
  int fd;
  Phase phase = Phase::kHead;
  size_t lane = kThisMachineLane;
  RequestAssembler request;
  std::string answer;
  size_t sent = 0;
  size_t held = 0;
  TimePoint opened;
  TimePoint deadline{};
  bool has_deadline = false;
  std::list<uint64_t>::iterator reading_entry;
};

ConnectionLoop::ConnectionLoop(int listen_fd, const HttpLimits& limits, HandlerLanes lanes,
                               std::atomic<int>& open_count)
    : limits_(limits),
      pools_{&lanes.this_machine, &lanes.other_machines},
      is_this_machine_(std::move(lanes.is_this_machine)),
      open_count_(open_count),
      listen_fd_(listen_fd),
      max_connections_(ConnectionCap(limits.max_connections)),
      next_key_(kFirstConnectionKey) {
  // A loop that cannot wait for its sockets would never answer: the server must not start.
  try {
    epoll_fd_ = epoll_create1(EPOLL_CLOEXEC);
    if (epoll_fd_ < 0) ThrowSetUpError("epoll_create1");
    stop_fd_ = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (stop_fd_ < 0) ThrowSetUpError("eventfd");
    if (!Watch(listen_fd_, kListenKey, EPOLLIN, true) ||
        !Watch(stop_fd_, kStopKey, EPOLLIN, true)) {
      ThrowSetUpError("epoll_ctl");
    }
    for (size_t lane = 0; lane < pools_.size(); ++lane) {
      if (!Watch(pools_[lane]->WakeFd(), kAnswersKey + lane, EPOLLIN, true)) {
        ThrowSetUpError("epoll_ctl");
      }
    }
  } catch (...) {
    CloseSetUp();
    throw;
  }
}

ConnectionLoop::~ConnectionLoop() {
  while (!connections_.empty()) Close(*connections_.begin()->second);
  CloseSetUp();
}

void ConnectionLoop::CloseSetUp() {
  for (const int fd : {listen_fd_, stop_fd_, epoll_fd_}) {
    if (fd >= 0) close(fd);
  }
}

bool ConnectionLoop::Watch(int fd, uint64_t key, uint32_t events, bool add) {
  epoll_event event{};
  event.events = events;
  event.data.u64 = key;
  return epoll_ctl(epoll_fd_, add ? EPOLL_CTL_ADD : EPOLL_CTL_MOD, fd, &event) == 0;
}

void ConnectionLoop::Stop() {
  const uint64_t one = 1;
  [[maybe_unused]] const ssize_t written = write(stop_fd_, &one, sizeof one);
}

void ConnectionLoop::Run() {
  epoll_event events[kMaxEvents];
  while (true) {
    const int n =
        epoll_wait(epoll_fd_, events, kMaxEvents, NextTimeoutMs(std::chrono::steady_clock::now()));
    if (n < 0 && errno != EINTR) return;
    const TimePoint now = std::chrono::steady_clock::now();
    for (int i = 0; i < n; ++i) {
      const uint64_t key = events[i].data.u64;
      if (key == kStopKey) return;
      if (key == kListenKey) {
        Accept(now);
      } else if (key >= kAnswersKey && key < kAnswersKey + pools_.size()) {
        TakeAnswers(key - kAnswersKey, now);
      } else if (const auto it = connections_.find(key); it != connections_.end()) {
        Connection& c = *it->second;
        if (c.phase == Phase::kHandler) {
          Close(c);  // the client is gone (error or hang-up): its answer will be dropped
        } else if (c.phase == Phase::kSend) {
          Write(c);
        } else {
          Read(c, now);
        }
      }
    }
    ExpireDeadlines(now);
    if (accept_paused_ && now >= accept_resume_) {
      accept_paused_ = false;
      Watch(listen_fd_, kListenKey, EPOLLIN, false);
    }
  }
}

void ConnectionLoop::Accept(TimePoint now) {
  for (int i = 0; i < kAcceptsPerWake; ++i) {
    // The peer's address comes with the connection: asked for later, it is gone when the
    // client has already reset the connection, and then nobody may be taken for this machine.
    sockaddr_storage peer{};
    socklen_t peer_len = sizeof peer;
    const int fd = accept4(listen_fd_, reinterpret_cast<sockaddr*>(&peer), &peer_len,
                           SOCK_NONBLOCK | SOCK_CLOEXEC);
    if (fd < 0) {
      if (IsTransientAcceptError(errno)) continue;
      if (IsOutOfResources(errno) && !EvictOldestReading()) {
        accept_paused_ = true;
        accept_resume_ = now + std::chrono::milliseconds(kAcceptPauseMs);
        Watch(listen_fd_, kListenKey, 0, false);
      }
      return;
    }
    if (static_cast<int>(connections_.size()) >= max_connections_ && !EvictOldestReading()) {
      close(fd);  // every slot is busy with a whole request: this client is turned away
      continue;
    }
    Open(fd, NumericAddress(reinterpret_cast<const sockaddr*>(&peer), peer_len), now);
  }
}

void ConnectionLoop::Open(int fd, std::string peer, TimePoint now) {
  const uint64_t key = next_key_++;
  auto connection = std::make_unique<Connection>(key, fd, std::move(peer), limits_, now);
  Connection& c = *connection;
  connections_.emplace(key, std::move(connection));
  c.reading_entry = reading_.insert(reading_.end(), key);
  ++open_count_;
  SetDeadline(c, limits_.head_timeout_ms, now);
  if (!Watch(fd, key, EPOLLIN | EPOLLRDHUP, true)) Close(c);  // it would never be read
}

void ConnectionLoop::Read(Connection& c, TimePoint now) {
  char buffer[kReadChunk];
  RequestAssembler::State state = c.request.Current();
  for (size_t taken = 0; taken < kReadPerWake;) {
    const ssize_t n = recv(c.fd, buffer, sizeof buffer, MSG_DONTWAIT);
    if (n > 0) {
      taken += static_cast<size_t>(n);
      state = c.request.Add(std::string_view(buffer, static_cast<size_t>(n)));
    } else if (n == 0) {
      state = c.request.PeerClosed();
    } else if (errno == EINTR) {
      continue;
    } else if (errno != EAGAIN && errno != EWOULDBLOCK) {
      Close(c);
      return;
    }
    if (n <= 0 || state == RequestAssembler::State::kDone ||
        state == RequestAssembler::State::kDropped) {
      break;
    }
  }
  switch (state) {
    case RequestAssembler::State::kHead:
      Hold(c, c.request.Held());
      break;
    case RequestAssembler::State::kBody:
      if (c.phase == Phase::kHead) {
        c.phase = Phase::kBody;
        SetDeadline(c, limits_.body_timeout_ms, now);
      }
      Hold(c, c.request.Held());
      break;
    case RequestAssembler::State::kDropped:
      Close(c);
      return;
    case RequestAssembler::State::kDone: {
      RequestReadResult result = c.request.Take();
      c.phase = Phase::kHandler;
      LeaveReading(c);
      ClearDeadline(c);
      Watch(c.fd, c.key, 0, false);  // errors and hang-ups are still reported
      Submit(c, std::move(*result.request), now);
      return;
    }
  }
  EvictLargestWhileOverBudget();
}

void ConnectionLoop::Submit(Connection& c, HttpRequestInfo request, TimePoint now) {
  request.LocalPeer = is_this_machine_(request.PeerAddress);
  c.lane = request.LocalPeer ? kThisMachineLane : kOtherMachinesLane;
  if (waiting_[c.lane] >= limits_.max_waiting_requests) {
    StartAnswer(c, BusyAnswer(), now);
    return;
  }
  Hold(c, request.UnparsedParams.size());
  ++waiting_[c.lane];
  pools_[c.lane]->Submit(c.key, std::move(request));
}

void ConnectionLoop::TakeAnswers(size_t lane, TimePoint now) {
  for (auto& [key, answer] : pools_[lane]->TakeAnswers()) {
    --waiting_[lane];
    const auto it = connections_.find(key);
    if (it != connections_.end()) StartAnswer(*it->second, std::move(answer), now);
  }
  EvictLargestWhileOverBudget();
}

void ConnectionLoop::StartAnswer(Connection& c, std::string answer, TimePoint now) {
  c.answer = std::move(answer);
  c.phase = Phase::kSend;
  Hold(c, c.answer.size());
  SetDeadline(c, limits_.send_timeout_ms, now);
  Watch(c.fd, c.key, EPOLLOUT, false);
  Write(c);
}

void ConnectionLoop::Write(Connection& c) {
  while (c.sent < c.answer.size()) {
    const ssize_t n =
        send(c.fd, c.answer.data() + c.sent, c.answer.size() - c.sent, MSG_DONTWAIT | MSG_NOSIGNAL);
    if (n > 0) {
      c.sent += static_cast<size_t>(n);
    } else if (n < 0 && errno == EINTR) {
      continue;
    } else if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
      Hold(c, c.answer.size() - c.sent);
      return;  // the rest when the socket can take it
    } else {
      break;
    }
  }
  Close(c);
}

void ConnectionLoop::ExpireDeadlines(TimePoint now) {
  while (!deadlines_.empty() && deadlines_.begin()->first <= now) {
    Close(*connections_.at(deadlines_.begin()->second));
  }
}

int ConnectionLoop::NextTimeoutMs(TimePoint now) const {
  TimePoint next = TimePoint::max();
  if (!deadlines_.empty()) next = deadlines_.begin()->first;
  if (accept_paused_) next = std::min(next, accept_resume_);
  if (next == TimePoint::max()) return -1;
  if (next <= now) return 0;
  // Rounded up, so the loop never wakes just before a deadline and spins.
  return static_cast<int>(std::chrono::ceil<std::chrono::milliseconds>(next - now).count());
}

void ConnectionLoop::SetDeadline(Connection& c, int after_ms, TimePoint now) {
  ClearDeadline(c);
  c.deadline = now + std::chrono::milliseconds(after_ms);
  c.has_deadline = true;
  deadlines_.emplace(c.deadline, c.key);
}

void ConnectionLoop::ClearDeadline(Connection& c) {
  if (c.has_deadline) deadlines_.erase({c.deadline, c.key});
  c.has_deadline = false;
}

void ConnectionLoop::LeaveReading(Connection& c) {
  if (c.reading_entry == reading_.end()) return;
  reading_.erase(c.reading_entry);
  c.reading_entry = reading_.end();
}

void ConnectionLoop::Hold(Connection& c, size_t bytes) {
  held_ = held_ - c.held + bytes;
  c.held = bytes;
}

bool ConnectionLoop::EvictOldestReading() {
  if (reading_.empty()) return false;
  Close(*connections_.at(reading_.front()));
  return true;
}

void ConnectionLoop::EvictLargestWhileOverBudget() {
  while (held_ > limits_.max_held_bytes) {
    Connection* largest = nullptr;
    for (auto& [key, c] : connections_) {
      if (c->phase != Phase::kHandler && (!largest || c->held > largest->held)) largest = c.get();
    }
    if (!largest || largest->held == 0) return;
    Close(*largest);
  }
}

void ConnectionLoop::Close(Connection& c) {
  const uint64_t key = c.key;
  ClearDeadline(c);
  LeaveReading(c);
  Hold(c, 0);
  if (c.phase == Phase::kSend && c.sent == c.answer.size()) {
    // The answer is out. What the client sent beyond its request is read away first, so
    // that closing does not reset the connection before the client has read the answer.
    shutdown(c.fd, SHUT_WR);
    char buffer[kReadChunk];
    while (recv(c.fd, buffer, sizeof buffer, MSG_DONTWAIT) > 0) {
    }
  }
  close(c.fd);
  --open_count_;
  connections_.erase(key);  // `c` ends here
}

}  // namespace chimewell
