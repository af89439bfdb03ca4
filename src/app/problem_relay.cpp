#include "app/problem_relay.h"

#include "app/application.h"
#include "platform/ui_thread.h"

namespace chimewell {

void ProblemRelay::Report(const std::string& message) {
  ui_.Post([this, message] {
    if (app_ == nullptr) return;
    app_->ReportProblem(message);
  });
}

void ProblemRelay::Fault(const std::string& text) {
  if (app_ != nullptr) app_->ReportFault(text);
}

ProblemRelay::Connection::Connection(ProblemRelay& relay, Application& app) : relay_(relay) {
  relay_.app_ = &app;
}

ProblemRelay::Connection::~Connection() { relay_.app_ = nullptr; }

}  // namespace chimewell
