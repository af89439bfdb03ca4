#pragma once
// The embedded HTTP server: one thread reads and writes every connection, a few handler
// threads turn whole requests into answers (this machine's and other machines' apart), one
// request per connection.
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "web/http_limits.h"
#include "web/http_request_info.h"

namespace chimewell {

class ConnectionLoop;
class HandlerPool;

class HttpServer {
 public:
  // Fills in the response for one request; runs on a handler thread. An exception that
  // escapes it becomes a status 500 response carrying its message.
  using CommandGetHandler = std::function<void(const HttpRequestInfo&, HttpResponseInfo&)>;
  // Receives the reason when the server cannot start, e.g. because the port is taken.
  using ErrorCallback = std::function<void(const std::string&)>;
  // Whether a peer address belongs to this machine (HttpRequestInfo::LocalPeer).
  using PeerTest = std::function<bool(const std::string&)>;

  explicit HttpServer(CommandGetHandler handler, HttpLimits limits = {});
  ~HttpServer();
  HttpServer(const HttpServer&) = delete;
  HttpServer& operator=(const HttpServer&) = delete;

  void SetErrorCallback(ErrorCallback callback);
  // When non-empty after trimming, replaces the product token of the Server header.
  void SetServerSoftware(const std::string& software);
  // Replaces the test of IsThisMachineAddress; from the next Start.
  void SetLocalPeerTest(PeerTest test);

  // Listens on all local addresses at `port` (0: any free port) and serves there from now on.
  // On failure reports the reason through the error callback and returns false; a server that
  // was serving goes on serving on its old port.
  bool Start(uint16_t port);
  // Serves on `listen_fd`, a listening socket it takes over, in place of any earlier one.
  bool StartOn(int listen_fd);
  // Stops listening, closes open connections and waits a bounded time for running handlers.
  void Stop();

  bool Active() const;
  // The port listened on (the chosen one after Start(0)); 0 while inactive.
  uint16_t Port() const;
  // Connections open now.
  int ActiveConnections() const;

 private:
  CommandGetHandler handler_;
  HttpLimits limits_;
  ErrorCallback error_callback_;
  std::string server_software_;
  PeerTest local_peer_;
  std::atomic<int> connections_{0};

  mutable std::mutex mutex_;  // guards the members below against Active/Port from other threads
  std::unique_ptr<HandlerPool> this_machine_pool_;
  std::unique_ptr<HandlerPool> other_machines_pool_;
  std::unique_ptr<ConnectionLoop> loop_;
  std::thread loop_thread_;
  uint16_t port_ = 0;
};

}  // namespace chimewell
