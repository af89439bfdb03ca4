#include "web/http_server.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <set>

#include "web/buffered_reader.h"
#include "web/http_request_parser.h"
#include "web/http_response.h"
#include "web/listening_socket.h"
#include "web/socket_io.h"
#include "web/text_util.h"

namespace chimewell {

// What the listener and the connection threads of one run (start to stop) of the server share.
// Connection threads hold it by shared pointer, so one that outlives the stop wait still finds
// it alive.
struct HttpServerRun {
  HttpServer::CommandGetHandler handler;
  HttpLimits limits;
  std::string product_token;
  std::shared_ptr<std::atomic<int>> server_connections;
  int listen_fd = -1;
  int wake_fd = -1;  // eventfd that ends the listener's wait

  std::mutex mutex;
  std::condition_variable changed;
  bool stopping = false;
  int active = 0;
  std::set<int> open_fds;

  ~HttpServerRun() {
    if (listen_fd >= 0) close(listen_fd);
    if (wake_fd >= 0) close(wake_fd);
  }
};

namespace {

constexpr const char* kUnknownHandlerError = "Unknown error";
constexpr const char* kListenerStartError = "Could not start the server's listener.";
// Pause before accepting again when the process is out of descriptors.
constexpr int kAcceptRetryMs = 100;

void ServeRequest(HttpServerRun& run, int fd) {
  SocketByteSource source(fd, run.limits.idle_timeout_ms);
  BufferedReader reader(source);
  RequestReadResult result = ReadHttpRequest(reader, run.limits, PeerAddressOf(fd));
  if (!result.request) return;

  HttpResponseInfo response;
  try {
    run.handler(*result.request, response);
  } catch (const std::exception& e) {
    SetHandlerErrorResponse(response, e.what());
  } catch (...) {
    SetHandlerErrorResponse(response, kUnknownHandlerError);
  }
  std::string out;
  if (!response.HeaderWritten) out = WriteResponseHeader(response, run.product_token);
  out += response.BodyText;
  SendAll(fd, out, run.limits.idle_timeout_ms);
}

void Admit(HttpServerRun& run, int fd) {
  const std::lock_guard lock(run.mutex);
  ++run.active;
  ++*run.server_connections;
  run.open_fds.insert(fd);
}

void Release(HttpServerRun& run, int fd) {
  {
    // Unregistered before closing, so that a stop never shuts down a reused descriptor number.
    const std::lock_guard lock(run.mutex);
    run.open_fds.erase(fd);
  }
  shutdown(fd, SHUT_WR);
  close(fd);
  const std::lock_guard lock(run.mutex);
  --run.active;
  --*run.server_connections;
  run.changed.notify_all();
}

void ServeConnection(const std::shared_ptr<HttpServerRun>& run, int fd) {
  ServeRequest(*run, fd);
  Release(*run, fd);
}

// Waits until a connection slot is free and a client is waiting; false when stopping. While
// every slot is taken, new clients wait in the listen backlog.
bool WaitForClient(HttpServerRun& run) {
  {
    std::unique_lock lock(run.mutex);
    run.changed.wait(lock, [&] { return run.stopping || run.active < run.limits.max_connections; });
    if (run.stopping) return false;
  }
  pollfd fds[2] = {{run.listen_fd, POLLIN, 0}, {run.wake_fd, POLLIN, 0}};
  while (poll(fds, 2, -1) < 0) {
    if (errno != EINTR) return false;
  }
  return (fds[1].revents & POLLIN) == 0;
}

void Listen(const std::shared_ptr<HttpServerRun>& run) {
  while (WaitForClient(*run)) {
    const int fd = accept4(run->listen_fd, nullptr, nullptr, SOCK_CLOEXEC);
    if (fd < 0) {
      if (errno == EMFILE || errno == ENFILE || errno == ENOBUFS || errno == ENOMEM) {
        pollfd wake{run->wake_fd, POLLIN, 0};
        poll(&wake, 1, kAcceptRetryMs);
      }
      continue;
    }
    Admit(*run, fd);
    try {
      std::thread(ServeConnection, run, fd).detach();
    } catch (const std::system_error&) {
      // No thread to be had: this client is turned away, the server goes on.
      Release(*run, fd);
    }
  }
}

}  // namespace

HttpServer::HttpServer(CommandGetHandler handler, HttpLimits limits)
    : handler_(std::move(handler)), limits_(limits) {}

HttpServer::~HttpServer() { Stop(); }

void HttpServer::SetErrorCallback(ErrorCallback callback) { error_callback_ = std::move(callback); }

void HttpServer::SetServerSoftware(const std::string& software) { server_software_ = software; }

bool HttpServer::Start(uint16_t port) {
  Stop();
  auto run = std::make_shared<HttpServerRun>();
  run->handler = handler_;
  run->limits = limits_;
  run->server_connections = connections_;
  const std::string_view software = TrimBlanksAndControls(server_software_);
  run->product_token = software.empty() ? DefaultProductToken() : std::string(software);

  std::string error;
  run->listen_fd = OpenListeningSocket(port, limits_.listen_backlog, error);
  if (run->listen_fd >= 0) {
    run->wake_fd = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (run->wake_fd < 0) error = kListenerStartError;
  }
  if (!error.empty()) {
    if (error_callback_) error_callback_(error);
    return false;
  }
  const std::lock_guard lock(mutex_);
  port_ = LocalPortOf(run->listen_fd);
  run_ = run;
  listener_ = std::thread(Listen, run);
  return true;
}

void HttpServer::Stop() {
  std::shared_ptr<HttpServerRun> run;
  std::thread listener;
  {
    const std::lock_guard lock(mutex_);
    run = std::move(run_);
    listener = std::move(listener_);
    port_ = 0;
  }
  if (!run) return;
  {
    const std::lock_guard lock(run->mutex);
    run->stopping = true;
    run->changed.notify_all();
  }
  const uint64_t one = 1;
  [[maybe_unused]] const ssize_t written = write(run->wake_fd, &one, sizeof one);
  listener.join();
  close(run->listen_fd);
  run->listen_fd = -1;

  std::unique_lock lock(run->mutex);
  for (int fd : run->open_fds) shutdown(fd, SHUT_RDWR);
  run->changed.wait_for(lock, std::chrono::milliseconds(limits_.stop_wait_ms),
                        [&] { return run->active == 0; });
}

bool HttpServer::Rebind(uint16_t port) {
  Stop();
  return Start(port);
}

bool HttpServer::Active() const {
  const std::lock_guard lock(mutex_);
  return run_ != nullptr;
}

uint16_t HttpServer::Port() const {
  const std::lock_guard lock(mutex_);
  return port_;
}

int HttpServer::ActiveConnections() const { return connections_->load(); }

}  // namespace chimewell
