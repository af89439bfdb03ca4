#include "web/access_gate.h"

#include "web/access_texts.h"
#include "web/http_request_parser.h"
#include "web/this_machine.h"

namespace chimewell {
namespace {

constexpr const char* kRealmHeader =
    "WWW-Authenticate: Basic realm=\"Chimewell\", charset=\"UTF-8\"";

bool Refuse(HttpResponseInfo& response, int status, const char* status_text, const char* page) {
  response.StatusCode = status;
  response.StatusText = status_text;
  response.BodyText = page;
  return false;
}

}  // namespace

AccessGate::AccessGate(std::function<std::string()> stored_hash, const Clock& clock)
    : stored_hash_(std::move(stored_hash)), clock_(clock) {}

AttemptLimiter::TimePoint AccessGate::Elapsed() {
  const std::lock_guard lock(tick_mutex_);
  const uint32_t tick = clock_.TickCount();
  if (tick < last_tick_) ++tick_wraps_;
  last_tick_ = tick;
  return std::chrono::milliseconds((tick_wraps_ << 32) + tick);
}

bool AccessGate::Admit(const HttpRequestInfo& request, HttpResponseInfo& response) {
  // A client that sends no Host (HTTP/1.0) is no browser led here by a foreign name.
  if (!request.Host.empty() && !IsThisMachineHost(request.Host)) {
    return Refuse(response, 421, "Misdirected Request", access_texts::kWrongNamePage);
  }
  if (request.LocalPeer) return true;

  const std::string hash = stored_hash_();
  if (hash.empty()) {
    return Refuse(response, 403, "Forbidden", access_texts::kRemoteNotAllowedPage);
  }
  // A browser sends the password with every request: once it matched, no slow check again.
  const bool attempted = HeaderValue(request, "Authorization").has_value();
  if (attempted && checker_.Remembered(hash, request.Password)) return true;
  // Asking without a password is how every browser begins; only an attempt counts, and it
  // counts before the slow check starts.
  const AttemptLimiter::TimePoint now = Elapsed();
  const std::string& address = request.PeerAddress;
  if (!(attempted ? limiter_.Begin(address, now) : limiter_.Allowed(address, now))) {
    response.ExtraHeaders.push_back("Retry-After: " +
                                    std::to_string(limiter_.SecondsToWait(address, now)));
    return Refuse(response, 429, "Too Many Requests", access_texts::kTooManyAttemptsPage);
  }
  if (attempted && checker_.Verify(hash, request.Password)) {
    limiter_.Succeeded(address, now);
    return true;
  }
  response.ExtraHeaders.push_back(kRealmHeader);
  return Refuse(response, 401, "Unauthorized", access_texts::kPasswordNeededPage);
}

}  // namespace chimewell
