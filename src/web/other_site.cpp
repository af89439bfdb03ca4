#include "web/other_site.h"

#include "core/ascii_text.h"
#include "web/http_request_parser.h"
#include "web/this_machine.h"

namespace chimewell {
namespace {

constexpr std::string_view kScheme = "http://";
constexpr std::string_view kDefaultPort = ":80";

std::string_view WithoutDefaultPort(std::string_view authority) {
  if (authority.ends_with(kDefaultPort)) authority.remove_suffix(kDefaultPort.size());
  return authority;
}

// "scheme://authority" of a URL; the URL itself when it has no scheme.
std::string_view OriginOf(std::string_view url) {
  const size_t scheme_end = url.find("://");
  if (scheme_end == std::string_view::npos) return url;
  const size_t end = url.find_first_of("/?#", scheme_end + 3);
  return url.substr(0, end);
}

// The page was served by this server under the name the browser uses now. Without a Host
// the origin cannot be checked, and is taken as foreign.
bool IsOwnOrigin(std::string_view origin, std::string_view host) {
  if (host.empty() || origin.size() <= kScheme.size() ||
      !EqualsIgnoreAsciiCase(origin.substr(0, kScheme.size()), kScheme)) {
    return false;
  }
  return EqualsIgnoreAsciiCase(WithoutDefaultPort(origin.substr(kScheme.size())),
                               WithoutDefaultPort(host));
}

}  // namespace

bool IsMarkedForOtherSite(const HttpRequestInfo& request) {
  const auto site = HeaderValue(request, "Sec-Fetch-Site");
  if (site &&
      (EqualsIgnoreAsciiCase(*site, "cross-site") || EqualsIgnoreAsciiCase(*site, "same-site"))) {
    return true;
  }
  if (const auto origin = HeaderValue(request, "Origin")) return !IsOwnOrigin(*origin, request.Host);
  // An image or a link on another site's page names that page, unless it hides it.
  const auto referer = HeaderValue(request, "Referer");
  return referer && !referer->empty() && !IsOwnOrigin(OriginOf(*referer), request.Host);
}

bool IsFromOurPage(const HttpRequestInfo& request) {
  const auto site = HeaderValue(request, "Sec-Fetch-Site");
  if (site &&
      (EqualsIgnoreAsciiCase(*site, "cross-site") || EqualsIgnoreAsciiCase(*site, "same-site"))) {
    return false;
  }
  if (const auto origin = HeaderValue(request, "Origin")) return IsOwnOrigin(*origin, request.Host);
  if (const auto referer = HeaderValue(request, "Referer"); referer && !referer->empty()) {
    return IsOwnOrigin(OriginOf(*referer), request.Host);
  }
  if (site &&
      (EqualsIgnoreAsciiCase(*site, "same-origin") || EqualsIgnoreAsciiCase(*site, "none"))) {
    return true;
  }
  return IsLoopbackAddress(request.PeerAddress) && IsLoopbackHost(request.Host);
}

}  // namespace chimewell
