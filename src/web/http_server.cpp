#include "web/http_server.h"

#include <unistd.h>

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
constexpr const char* kNoThreadsError = "Could not start the server's threads.";

// Status line, headers and body for one request.
std::string Answer(const HttpServer::CommandGetHandler& handler, const std::string& product_token,
                   const HttpServer::PeerTest& local_peer, HttpRequestInfo& request) {
  request.LocalPeer = local_peer(request.PeerAddress);
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
  Stop();
  const std::string_view software = TrimBlanksAndControls(server_software_);
  const std::string product_token =
      software.empty() ? DefaultProductToken() : std::string(software);

  std::string error;
  const int listen_fd = OpenListeningSocket(port, limits_.listen_backlog, error);
  if (listen_fd < 0) {
    if (error_callback_) error_callback_(error);
    return false;
  }
  const std::lock_guard lock(mutex_);
  try {
    pool_ = std::make_unique<HandlerPool>(
        [handler = handler_, product_token, local_peer = local_peer_](HttpRequestInfo& request) {
          return Answer(handler, product_token, local_peer, request);
        },
        limits_.handler_threads);
    loop_ = std::make_unique<ConnectionLoop>(listen_fd, limits_, *pool_, connections_);
    loop_thread_ = std::thread(RunLoop, loop_.get());
  } catch (const std::system_error&) {
    if (!loop_) close(listen_fd);
    loop_.reset();
    if (pool_) pool_->Stop(0);
    pool_.reset();
    if (error_callback_) error_callback_(kNoThreadsError);
    return false;
  }
  port_ = LocalPortOf(listen_fd);
  return true;
}

void HttpServer::Stop() {
  std::unique_ptr<HandlerPool> pool;
  std::unique_ptr<ConnectionLoop> loop;
  std::thread thread;
  {
    const std::lock_guard lock(mutex_);
    pool = std::move(pool_);
    loop = std::move(loop_);
    thread = std::move(loop_thread_);
    port_ = 0;
  }
  if (!loop) return;
  loop->Stop();
  thread.join();
  loop.reset();  // closes the listening socket and every connection
  pool->Stop(limits_.stop_wait_ms);
}

bool HttpServer::Rebind(uint16_t port) {
  Stop();
  return Start(port);
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
