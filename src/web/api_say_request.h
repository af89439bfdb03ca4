#pragma once
// Reads what the API's `say` was sent: a query (GET), a form, or a JSON object, as Home
// Assistant's notify.rest sends them. Any bytes give a request or a refusal, never a crash.
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "core/moments.h"
#include "web/api_error.h"
#include "web/http_request_info.h"

namespace chimewell {

inline constexpr size_t kMaxApiBodyBytes = 16 * 1024;
inline constexpr size_t kMaxMessageChars = 1000;

struct SayRequest {
  std::string message;  // valid UTF-8, control characters made blanks
  std::string title;    // spoken before the message when not empty
  std::optional<WallMoment> at;
  std::optional<int> volume;  // 1..100
  std::vector<std::string> zones;
  // What is spoken: the title, then the message.
  std::string SpokenText() const;
};

struct SayParse {
  std::optional<SayRequest> request;
  ApiError error;  // when there is no request
};

// `now` places an `at` written without an offset in local time.
SayParse ParseSayRequest(const HttpRequestInfo& request, WallMoment now);

// The media type of the request's Content-Type, lower-cased, without parameters; empty when
// none was sent.
std::string ContentType(const HttpRequestInfo& request);

}  // namespace chimewell
