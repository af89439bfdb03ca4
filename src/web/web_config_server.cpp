#include "web/web_config_server.h"

#include <stdexcept>

#include "app/application.h"
#include "core/api_token_list.h"
#include "core/settings_store.h"
#include "web/api_answer.h"
#include "web/api_gate.h"
#include "web/api_handler.h"
#include "web/access_password_form.h"
#include "web/listening_socket.h"

namespace chimewell {
namespace {

constexpr const char* kServerStopping = "The server is stopping.";
constexpr const char* kNoPortText = "範囲外です";
constexpr int kMaxTcpPort = 65535;

std::shared_ptr<UiHandOff> ClosedHandOff(UiThread& ui) {
  auto hand_off = std::make_shared<UiHandOff>(ui);
  hand_off->Close();
  return hand_off;
}

}  // namespace

WebConfigServer::WebConfigServer(UiThread& ui, PageServices services, HttpLimits limits)
    : ui_(ui),
      services_(services),
      backlog_(limits.listen_backlog),
      gate_([this] { return ReadAccessPasswordHash(settings_file_); }, services.clock),
      hand_off_(ClosedHandOff(ui)),
      server_([this](const HttpRequestInfo& request,
                     HttpResponseInfo& response) { Serve(request, response); },
              limits) {}

WebConfigServer::~WebConfigServer() { Stop(); }

void WebConfigServer::Attach(Application& app) {
  handler_ = std::make_unique<RequestHandler>(app, services_);
  settings_file_ = app.Paths().settings;
  app_ = &app;
}

bool WebConfigServer::Listen(int port, std::string& error) {
  if (port < 0 || port > kMaxTcpPort) {
    error = kNoPortText;
    return false;
  }
  if (port != 0 && port == Port()) return true;  // already there
  // The new port is opened first, so that one that cannot be opened leaves the page where it
  // was.
  const int listen_fd = OpenListeningSocket(static_cast<uint16_t>(port), backlog_, error);
  if (listen_fd < 0) return false;
  Stop();
  {
    // Open before the first connection can be accepted.
    const std::lock_guard lock(mutex_);
    hand_off_ = std::make_shared<UiHandOff>(ui_);
  }
  server_.SetErrorCallback([&error](const std::string& reason) { error = reason; });
  const bool started = server_.StartOn(listen_fd);
  server_.SetErrorCallback(nullptr);
  if (!started) CurrentHandOff()->Close();
  return started;
}

void WebConfigServer::Stop() {
  // First release the requests that wait for the UI thread: this may be the UI thread, and
  // the server's stop waits for its connections to end.
  CurrentHandOff()->Close();
  server_.Stop();
}

void WebConfigServer::BuildPageCache() {
  if (handler_) handler_->BuildPageCache();
}

int WebConfigServer::Port() const { return server_.Port(); }

std::shared_ptr<UiHandOff> WebConfigServer::CurrentHandOff() const {
  const std::lock_guard lock(mutex_);
  return hand_off_;
}

void WebConfigServer::ServeApi(const HttpRequestInfo& request, HttpResponseInfo& response) {
  const auto refusal =
      CheckApiAccess(request, [this] { return ReadApiTokens(settings_file_); });
  if (refusal) return AnswerApiError(response, *refusal);
  try {
    CurrentHandOff()->Run([&] {
      if (!app_) throw std::runtime_error(kServerStopping);
      HandleApiRequest(*app_, services_.clock, request, response);
    });
  } catch (const HandOffClosed&) {
    throw std::runtime_error(kServerStopping);
  }
}

void WebConfigServer::Serve(const HttpRequestInfo& request, HttpResponseInfo& response) {
  if (IsApiPath(request.Document)) return ServeApi(request, response);
  if (!gate_.Admit(request, response)) return;
  std::string password_hash = PrepareAccessPasswordHash(request);
  try {
    CurrentHandOff()->Run([&] {
      if (!handler_) throw std::runtime_error(kServerStopping);
      handler_->UsePreparedPasswordHash(std::move(password_hash));
      handler_->IdHTTPServer1CommandGet(request, response);
    });
  } catch (const HandOffClosed&) {
    throw std::runtime_error(kServerStopping);
  }
}

}  // namespace chimewell
