#pragma once
// Whether a request was sent by our own page. A page of another site, or one that hides where
// it comes from, may show the configuration page but must change nothing: the user did not
// mean to send it.
#include "web/http_request_info.h"

namespace chimewell {

// True when the browser vouches for it (Sec-Fetch-Site "same-origin" or "none", a typed
// address or a bookmark), or its Origin, else its Referer, is this server's. A request that
// carries none of these may still be a script on this machine (curl): it is taken only from
// a loopback address under a loopback Host, since a browser leaves all three out when a page
// asks it to (an image with referrerpolicy="no-referrer") and, towards the computer's network
// address, never sends Sec-Fetch-Site. Any sign of another site ("cross-site", "same-site":
// another web application of this machine is another site too; Origin "null") refuses.
bool IsFromOurPage(const HttpRequestInfo& request);

// Whether a browser says it sent the request for a page of another site: Sec-Fetch-Site
// "cross-site" or "same-site", or an Origin (else a Referer) that is not this server's. A
// script sends none of them;
// the API refuses such requests whatever credential they carry.
bool IsMarkedForOtherSite(const HttpRequestInfo& request);

}  // namespace chimewell
