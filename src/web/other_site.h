#pragma once
// Whether a request was sent by a page of another site: such a request may show the page but
// must change nothing, since the user did not mean to send it.
#include "web/http_request_info.h"

namespace chimewell {

// True when the browser says so (Sec-Fetch-Site "cross-site" or "same-site": another web
// application of this machine on another port is another site too), when an Origin is sent
// that is not this server's, or, without Origin, when the Referer names another origin.
// Typed addresses and bookmarks send none of these, or "none", and pass.
bool IsOtherSiteRequest(const HttpRequestInfo& request);

}  // namespace chimewell
