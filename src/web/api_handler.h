#pragma once
// The clock's API under /api/: say, time, mute and status, answered in JSON. Runs on the UI
// thread, after CheckApiAccess let the request in; it only calls the application's operations.
#include "web/http_request_info.h"

namespace chimewell {

class Application;
class Clock;

void HandleApiRequest(Application& app, const Clock& clock, const HttpRequestInfo& request,
                      HttpResponseInfo& response);

}  // namespace chimewell
