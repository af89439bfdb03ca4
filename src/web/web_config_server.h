#pragma once
// The configuration page's server as the application sees it: the HTTP server on the
// configured port, each request handed to the UI thread for the request handler.
#include <filesystem>
#include <memory>
#include <mutex>
#include <string>

#include "app/config_server.h"
#include "playback/ui_hand_off.h"
#include "web/access_gate.h"
#include "web/http_server.h"
#include "web/request_handler.h"

namespace chimewell {

class UiThread;

class WebConfigServer final : public ConfigServer {
 public:
  WebConfigServer(UiThread& ui, PageServices services, HttpLimits limits = {});
  ~WebConfigServer() override;

  // The application is built with this server among its dependencies, so it is attached
  // afterwards; before that, and after Stop, nothing is served.
  void Attach(Application& app);

  bool Listen(int port, std::string& error) override;
  void Stop() override;
  void BuildPageCache() override;

  // The port listened on (the chosen one after Listen(0)); 0 while stopped.
  int Port() const;
  // Which client addresses count as this machine; from the next Listen.
  void SetLocalPeerTest(HttpServer::PeerTest test) { server_.SetLocalPeerTest(std::move(test)); }

 private:
  void Serve(const HttpRequestInfo& request, HttpResponseInfo& response);
  // The API's requests: their own trust rules and JSON answers.
  void ServeApi(const HttpRequestInfo& request, HttpResponseInfo& response);
  std::shared_ptr<UiHandOff> CurrentHandOff() const;

  UiThread& ui_;
  PageServices services_;
  std::unique_ptr<RequestHandler> handler_;  // set by Attach, used on the UI thread only
  std::filesystem::path settings_file_;      // set by Attach, read by the gate
  Application* app_ = nullptr;               // set by Attach, used on the UI thread only
  const int backlog_;
  AccessGate gate_;
  mutable std::mutex mutex_;
  // Replaced at every Listen: a stop closes the old one for good, which releases requests
  // waiting for the UI thread, so a stop on the UI thread never waits for them.
  std::shared_ptr<UiHandOff> hand_off_;
  HttpServer server_;
};

}  // namespace chimewell
