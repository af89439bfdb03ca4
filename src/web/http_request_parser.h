#pragma once
// Reads one request from a connection and parses it into what the request handler receives.
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

// The value of the first header line named `name` (any letter case), trimmed; nullopt if none.
std::optional<std::string> HeaderValue(const HttpRequestInfo& request, std::string_view name);

}  // namespace chimewell
