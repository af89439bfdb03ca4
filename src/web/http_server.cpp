#include "web/http_server.h"

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <system_error>

#include "web/connection_loop.h"
#include "web/handler_pool.h"
#include "web/http_response.h"
#include "web/listening_socket.h"
#include "web/text_util.h"
#include "web/this_machine.h"

namespace chimewell {
namespace {

constexpr const char* kUnknownHandlerError = "Unknown error";

// Status line, headers and body for one request.
std::string Answer(const HttpServer::CommandGetHandler& handler, const std::string& product_token,
                   const HttpRequestInfo& request) {
  HttpResponseInfo response;
  try {
    handler(request, response);
  } catch (const std::exception& e) {
    SetHandlerErrorResponse(response, e.what());
  } catch (...) {
    SetHandlerErrorResponse(response, kUnknownHandlerError);
  }
  std::string out;
  if (!response.HeaderWritten) out = WriteResponseHeader(response, product_token);
  out += response.BodyText;
  return out;
}

void RunLoop(ConnectionLoop* loop) {
  try {
    loop->Run();
  } catch (...) {
    // Out of memory in the loop: the server stops answering, the program goes on.
  }
}

}  // namespace

HttpServer::HttpServer(CommandGetHandler handler, HttpLimits limits)
    : handler_(std::move(handler)), limits_(limits), local_peer_(IsThisMachineAddress) {}

HttpServer::~HttpServer() { Stop(); }

void HttpServer::SetErrorCallback(ErrorCallback callback) { error_callback_ = std::move(callback); }

void HttpServer::SetServerSoftware(const std::string& software) { server_software_ = software; }

void HttpServer::SetLocalPeerTest(PeerTest test) { local_peer_ = std::move(test); }

bool HttpServer::Start(uint16_t port) {
  // The new port is opened before the old one is let go: a port that cannot be opened leaves
  // the server serving where it was.
  std::string error;
  const int listen_fd = OpenListeningSocket(port, limits_.listen_backlog, error);
  if (listen_fd < 0) {
    if (error_callback_) error_callback_(error);
    return false;
  }
  return StartOn(listen_fd);
}

bool HttpServer::StartOn(int listen_fd) {
  Stop();
  const std::string_view software = TrimBlanksAndControls(server_software_);
  const std::string product_token =
      software.empty() ? DefaultProductToken() : std::string(software);
  const uint16_t port_listened = LocalPortOf(listen_fd);
  const std::lock_guard lock(mutex_);
  const HandlerPool::Work work = [handler = handler_, product_token](HttpRequestInfo& request) {
    return Answer(handler, product_token, request);
  };
  bool loop_made = false;
  try {
    this_machine_pool_ = std::make_unique<HandlerPool>(work, limits_.handler_threads);
    other_machines_pool_ = std::make_unique<HandlerPool>(work, limits_.other_machine_threads);
    loop_made = true;  // the loop takes over the socket even when it cannot be set up
    loop_ = std::make_unique<ConnectionLoop>(
        listen_fd, limits_, HandlerLanes{*this_machine_pool_, *other_machines_pool_, local_peer_},
        connections_);
    loop_thread_ = std::thread(RunLoop, loop_.get());
  } catch (const std::system_error& e) {
    if (!loop_made) close(listen_fd);
    loop_.reset();
    for (auto* pool : {&this_machine_pool_, &other_machines_pool_}) {
      if (*pool) (*pool)->Stop(0);
      pool->reset();
    }
    if (error_callback_) {
      error_callback_(std::string("Could not start the server: ") + e.what() + ".");
    }
    return false;
  }
  port_ = port_listened;
  return true;
}

void HttpServer::Stop() {
  std::unique_ptr<HandlerPool> this_machine_pool;
  std::unique_ptr<HandlerPool> other_machines_pool;
  std::unique_ptr<ConnectionLoop> loop;
  std::thread thread;
  {
    const std::lock_guard lock(mutex_);
    this_machine_pool = std::move(this_machine_pool_);
    other_machines_pool = std::move(other_machines_pool_);
    loop = std::move(loop_);
    thread = std::move(loop_thread_);
    port_ = 0;
  }
  if (!loop) return;
  loop->Stop();
  thread.join();
  loop.reset();  // closes the listening socket and every connection
  // Both pools drop their queues at once; the running handlers share one bounded wait.
  other_machines_pool->Stop(0);
  const auto deadline =
      std::chrono::steady_clock::now() + std::chrono::milliseconds(limits_.stop_wait_ms);
  for (HandlerPool* pool : {this_machine_pool.get(), other_machines_pool.get()}) {
    const auto left =
        std::chrono::ceil<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    pool->Stop(static_cast<int>(std::max<int64_t>(left.count(), 0)));
  }
}


bool HttpServer::Active() const {
  const std::lock_guard lock(mutex_);
  return loop_ != nullptr;
}

uint16_t HttpServer::Port() const {
  const std::lock_guard lock(mutex_);
  return port_;
}

int HttpServer::ActiveConnections() const { return connections_.load(); }

}  // namespace chimewell
