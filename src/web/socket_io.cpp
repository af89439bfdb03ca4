#include "web/socket_io.h"

#include <arpa/inet.h>
#include <netinet/in.h>

namespace chimewell {

std::string NumericAddress(const sockaddr* addr, socklen_t len) {
  char text[INET6_ADDRSTRLEN] = {};
  if (addr == nullptr || len < static_cast<socklen_t>(sizeof(sa_family_t))) return {};
  if (addr->sa_family == AF_INET && len >= static_cast<socklen_t>(sizeof(sockaddr_in))) {
    const auto* v4 = reinterpret_cast<const sockaddr_in*>(addr);
    inet_ntop(AF_INET, &v4->sin_addr, text, sizeof text);
  } else if (addr->sa_family == AF_INET6 && len >= static_cast<socklen_t>(sizeof(sockaddr_in6))) {
    const auto* v6 = reinterpret_cast<const sockaddr_in6*>(addr);
    if (IN6_IS_ADDR_V4MAPPED(&v6->sin6_addr)) {
      inet_ntop(AF_INET, &v6->sin6_addr.s6_addr[12], text, sizeof text);
    } else {
      inet_ntop(AF_INET6, &v6->sin6_addr, text, sizeof text);
    }
  }
  return text;
}

}  // namespace chimewell
