#pragma once
// Reads one request from a connection and parses it into what the request handler receives.
#include <cstdint>
#include <optional>
#include <string>

#include "web/buffered_reader.h"
#include "web/http_limits.h"
#include "web/http_request_info.h"

namespace chimewell {

struct RequestReadResult {
  // Empty when the connection is to be closed without a response; `drop_reason` says why.
  std::optional<HttpRequestInfo> request;
  std::string drop_reason;
};

RequestReadResult ReadHttpRequest(BufferedReader& reader, const HttpLimits& limits,
                                  const std::string& peer_address);

// The request line and the header lines, read and checked; the body comes after them.
struct RequestHead {
  enum class Status { kComplete, kNeedMore, kDrop };
  Status status = Status::kNeedMore;
  HttpRequestInfo request;  // Command, Version, Header and PeerAddress so far
  std::string target;
  std::string drop_reason;  // for kDrop, and for kNeedMore when no more bytes will come
  // The body that follows: -1 none, 0 or more exactly that many bytes, kBodyUntilClose.
  int64_t body_length = -1;
};
inline constexpr int64_t kBodyUntilClose = -2;

// Reads the head. kNeedMore when the reader ran out of bytes before the head ended.
RequestHead ReadRequestHead(BufferedReader& reader, const HttpLimits& limits,
                            const std::string& peer_address);
// The request from its head and body: parameters, document, host and credentials.
RequestReadResult FinishRequest(RequestHead head, std::string body);

// The value of the first header line named `name` (any letter case), trimmed; nullopt if none.
std::optional<std::string> HeaderValue(const HttpRequestInfo& request, std::string_view name);

}  // namespace chimewell
