#include "web/api_gate.h"

#include "web/api_texts.h"
#include "web/api_tokens.h"
#include "web/other_site.h"
#include "web/this_machine.h"

namespace chimewell {

bool IsApiPath(const std::string& document) {
  return document == "/api" || document.starts_with("/api/");
}

std::optional<ApiError> CheckApiAccess(
    const HttpRequestInfo& request,
    const std::function<std::vector<ApiTokenRecord>()>& stored_tokens) {
  if (!request.Host.empty() && !IsThisMachineHost(request.Host)) {
    return ApiError{403, api_texts::kWrongName};
  }
  if (IsMarkedForOtherSite(request)) return ApiError{403, api_texts::kOtherSite};
  if (IsLoopbackAddress(request.PeerAddress) && IsLoopbackHost(request.Host)) return std::nullopt;
  if (request.BearerToken.empty()) return ApiError{401, api_texts::kKeyNeeded};
  if (!MatchesApiToken(stored_tokens(), request.BearerToken)) {
    return ApiError{401, api_texts::kKeyWrong};
  }
  return std::nullopt;
}

}  // namespace chimewell
