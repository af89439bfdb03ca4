#pragma once
// A termination signal or the end of the desktop session closes the program as the Exit
// command does, so the window placement is written and playback stops as on a normal exit.
#include <QMetaObject>
#include <functional>

#include "ui/termination_signals.h"

class QGuiApplication;

namespace chimewell {

class Application;
class MainTray;

// UI thread. Lives while the event loop runs; the application and the tray outlive it.
class EndRequests {
 public:
  // `tray`: none when the program runs without one.
  EndRequests(QGuiApplication& qt, Application& app, MainTray* tray);
  ~EndRequests();
  EndRequests(const EndRequests&) = delete;
  EndRequests& operator=(const EndRequests&) = delete;

 private:
  // A fault while closing is reported like any other, and the program ends all the same: a
  // signal or the end of the session must not leave it running.
  void Close(const char* cause, const std::function<void()>& close);

  Application& app_;
  MainTray* tray_;
  TerminationSignals termination_;
  QMetaObject::Connection session_end_;
};

}  // namespace chimewell
