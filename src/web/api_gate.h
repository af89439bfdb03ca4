#pragma once
// Who may use the clock's API. A script on this machine (a loopback client under a loopback
// name) needs nothing; any other client needs one of the keys made on the page, sent as
// "Authorization: Bearer <key>". A request a browser sent for another site's page is refused
// whatever it carries, and the page's rule on server names holds here too. Runs on the
// handler threads, before the request reaches the UI thread.
#include <functional>
#include <optional>
#include <vector>

#include "core/api_token_list.h"
#include "web/api_error.h"
#include "web/http_request_info.h"

namespace chimewell {

// The paths the API answers under.
bool IsApiPath(const std::string& document);

// None when the request may go on; `stored_tokens` is read only when a key is needed.
std::optional<ApiError> CheckApiAccess(
    const HttpRequestInfo& request,
    const std::function<std::vector<ApiTokenRecord>()>& stored_tokens);

}  // namespace chimewell
