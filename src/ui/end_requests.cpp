#include "ui/end_requests.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QSessionManager>

#include "app/application.h"
#include "ui/main_tray.h"

namespace chimewell {

EndRequests::EndRequests(QGuiApplication& qt, Application& app, MainTray* tray)
    : app_(app),
      tray_(tray),
      termination_([this](int) { Close("signal", [this] { app_.CloseMainWindow(); }); }) {
  session_end_ =
      QObject::connect(&qt, &QGuiApplication::commitDataRequest, [this](QSessionManager&) {
        Close("session end", [this] {
          if (tray_ != nullptr) tray_->QueryEndSession();
          app_.CloseMainWindow();
        });
      });
}

EndRequests::~EndRequests() { QObject::disconnect(session_end_); }

void EndRequests::Close(const char* cause, const std::function<void()>& close) {
  if (!app_.CatchFaults(cause, close)) QCoreApplication::quit();
}

}  // namespace chimewell
