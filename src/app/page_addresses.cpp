#include "app/page_addresses.h"

#include <arpa/inet.h>
#include <netinet/in.h>

#include <algorithm>

namespace chimewell {
namespace {

// The address as it goes into a URL (IPv6 in brackets); empty when no other machine can use it.
std::string UrlHost(const std::string& address) {
  in_addr v4{};
  if (inet_pton(AF_INET, address.c_str(), &v4) == 1) {
    return (ntohl(v4.s_addr) >> 24) == 127 ? "" : address;
  }
  in6_addr v6{};
  if (inet_pton(AF_INET6, address.c_str(), &v6) != 1 || IN6_IS_ADDR_LOOPBACK(&v6) ||
      IN6_IS_ADDR_LINKLOCAL(&v6) || IN6_IS_ADDR_V4MAPPED(&v6)) {
    return "";
  }
  return "[" + address + "]";
}

std::string PageUrl(const std::string& host, int port) {
  return "http://" + host + ":" + std::to_string(port) + "/";
}

}  // namespace

std::string PageAddressLines(int port, bool remote_access,
                             const std::vector<std::string>& interface_addresses) {
  std::string lines = "Configuration page: " + PageUrl("localhost", port) + "\n";
  if (!remote_access) return lines;
  std::vector<std::string> others;
  for (const std::string& address : interface_addresses) {
    const std::string host = UrlHost(address);
    if (!host.empty() && std::find(others.begin(), others.end(), host) == others.end()) {
      others.push_back(host);
    }
  }
  if (others.empty()) return lines;
  lines += "From other machines, with the access password:";
  for (const std::string& host : others) lines += " " + PageUrl(host, port);
  return lines + "\n";
}

}  // namespace chimewell
