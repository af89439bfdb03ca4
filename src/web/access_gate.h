#pragma once
// Who may reach the configuration page at all. A request under a name this server does not go
// by is refused (DNS rebinding); a client on another machine must give the access password by
// HTTP Basic authentication, and is refused while none is set. Runs on the handler threads,
// before a request is handed to the UI thread, so refusals and the slow password check never
// hold up the clock.
#include <functional>
#include <string>

#include "web/attempt_limiter.h"
#include "web/http_request_info.h"
#include "web/password_hash.h"

namespace chimewell {

class AccessGate {
 public:
  // `stored_hash` gives the access password's hash as stored now, empty when none is set.
  explicit AccessGate(std::function<std::string()> stored_hash);

  // True when the request may go on; otherwise `response` holds the refusal.
  bool Admit(const HttpRequestInfo& request, HttpResponseInfo& response);

 private:
  std::function<std::string()> stored_hash_;
  AttemptLimiter limiter_;
  PasswordChecker checker_;
};

}  // namespace chimewell
