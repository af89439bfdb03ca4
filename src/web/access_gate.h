#pragma once
// Who may reach the configuration page at all. A request under a name this server does not go
// by is refused (DNS rebinding); a client on another machine must give the access password by
// HTTP Basic authentication, and is refused while none is set. Runs on the handler threads,
// before a request is handed to the UI thread, so refusals and the slow password check never
// hold up the clock; other machines' requests have their own threads, so the check never
// holds up this machine's requests either.
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>

#include "core/clock.h"
#include "web/attempt_limiter.h"
#include "web/http_request_info.h"
#include "web/password_hash.h"

namespace chimewell {

class AccessGate {
 public:
  // `stored_hash` gives the access password's hash as stored now, empty when none is set;
  // `clock` tells how much time has passed between attempts.
  AccessGate(std::function<std::string()> stored_hash, const Clock& clock);

  // True when the request may go on; otherwise `response` holds the refusal.
  bool Admit(const HttpRequestInfo& request, HttpResponseInfo& response);

 private:
  AttemptLimiter::TimePoint Elapsed();

  std::function<std::string()> stored_hash_;
  const Clock& clock_;
  std::mutex tick_mutex_;  // guards the two below: the tick count unwrapped past 2^32 ms
  uint32_t last_tick_ = 0;
  int64_t tick_wraps_ = 0;
  AttemptLimiter limiter_;
  PasswordChecker checker_;
};

}  // namespace chimewell
