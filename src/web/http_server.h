#pragma once
// The embedded HTTP server: one listener thread, one thread per connection, one request each.
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

struct HttpServerRun;

class HttpServer {
 public:
  // Fills in the response for one request; runs on the connection's thread. An exception that
  // escapes it becomes a status 500 response carrying its message.
  using CommandGetHandler = std::function<void(const HttpRequestInfo&, HttpResponseInfo&)>;
  // Receives the reason when the server cannot start, e.g. because the port is taken.
  using ErrorCallback = std::function<void(const std::string&)>;

  explicit HttpServer(CommandGetHandler handler, HttpLimits limits = {});
  ~HttpServer();
  HttpServer(const HttpServer&) = delete;
  HttpServer& operator=(const HttpServer&) = delete;

  void SetErrorCallback(ErrorCallback callback);
  // When non-empty after trimming, replaces the product token of the Server header.
  void SetServerSoftware(const std::string& software);

  // Listens on all local addresses at `port` (0: any free port) and starts serving. On failure
  // reports the reason through the error callback, stays inactive and returns false.
  bool Start(uint16_t port);
  // Stops listening, disconnects open connections and waits a bounded time for them to end.
  void Stop();
  // Moves the server to another port: stop, then start on `port`.
  bool Rebind(uint16_t port);

  bool Active() const;
  // The port listened on (the chosen one after Start(0)); 0 while inactive.
  uint16_t Port() const;
  // Connections being served now, by this and earlier runs of the server.
  int ActiveConnections() const;

 private:
  CommandGetHandler handler_;
  HttpLimits limits_;
  ErrorCallback error_callback_;
  std::string server_software_;
  // Connection threads of every run count here; they may outlive the run that started them.
  std::shared_ptr<std::atomic<int>> connections_ = std::make_shared<std::atomic<int>>(0);

  mutable std::mutex mutex_;  // guards the members below against Active/Port from other threads
  std::shared_ptr<HttpServerRun> run_;
  std::thread listener_;
  uint16_t port_ = 0;
};

}  // namespace chimewell
