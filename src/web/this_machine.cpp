#include "web/this_machine.h"

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <netinet/in.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <vector>

#include "core/ascii_text.h"
#include "web/socket_io.h"

namespace chimewell {
namespace {

// The address of an interface entry; empty for link-layer and other non-IP entries.
std::string InterfaceAddress(const sockaddr* addr) {
  const socklen_t len = addr->sa_family == AF_INET6 ? sizeof(sockaddr_in6) : sizeof(sockaddr_in);
  return NumericAddress(addr, len);
}

// Asked at every request from another address: interfaces come and go (Wi-Fi, VPN).
bool IsInterfaceAddress(const std::string& address) {
  const std::vector<std::string> addresses = InterfaceAddresses();
  return std::find(addresses.begin(), addresses.end(), address) != addresses.end();
}

bool IsIpAddress(const std::string& address) {
  in_addr v4{};
  in6_addr v6{};
  return inet_pton(AF_INET, address.c_str(), &v4) == 1 ||
         inet_pton(AF_INET6, address.c_str(), &v6) == 1;
}

bool IsIpLiteral(std::string_view host) {
  const std::string text(host);
  if (host.size() >= 2 && host.front() == '[' && host.back() == ']') {
    in6_addr v6{};
    return inet_pton(AF_INET6, text.substr(1, text.size() - 2).c_str(), &v6) == 1;
  }
  in_addr v4{};
  return inet_pton(AF_INET, text.c_str(), &v4) == 1;
}

std::string ComputerName() {
  char name[HOST_NAME_MAX + 1] = {};
  if (gethostname(name, sizeof name - 1) != 0) return {};
  return name;
}

}  // namespace

std::vector<std::string> InterfaceAddresses() {
  std::vector<std::string> addresses;
  ifaddrs* list = nullptr;
  if (getifaddrs(&list) != 0) return addresses;
  for (const ifaddrs* entry = list; entry != nullptr; entry = entry->ifa_next) {
    if (entry->ifa_addr == nullptr) continue;
    // Link-layer and other non-IP entries have no numeric address; none may match an unknown
    // peer's empty one.
    std::string address = InterfaceAddress(entry->ifa_addr);
    if (!address.empty()) addresses.push_back(std::move(address));
  }
  freeifaddrs(list);
  return addresses;
}

bool IsLoopbackAddress(const std::string& address) {
  in_addr v4{};
  if (inet_pton(AF_INET, address.c_str(), &v4) == 1) return (ntohl(v4.s_addr) >> 24) == 127;
  in6_addr v6{};
  return inet_pton(AF_INET6, address.c_str(), &v6) == 1 && IN6_IS_ADDR_LOOPBACK(&v6);
}

bool IsThisMachineAddress(const std::string& address) {
  // An address we could not learn is a stranger's: an interface list holds entries without
  // an IP address, and one of them must never make a client count as this machine.
  if (!IsIpAddress(address)) return false;
  return IsLoopbackAddress(address) || IsInterfaceAddress(address);
}

bool IsLoopbackHost(std::string_view host) {
  std::string_view name = HostWithoutPort(host);
  if (!name.empty() && name.back() == '.') name.remove_suffix(1);
  if (EqualsIgnoreAsciiCase(name, "localhost")) return true;
  if (name.size() >= 2 && name.front() == '[' && name.back() == ']') {
    name = name.substr(1, name.size() - 2);
  }
  const std::string address(name);
  return IsIpAddress(address) && IsLoopbackAddress(address);
}

std::string_view HostWithoutPort(std::string_view host) {
  if (!host.empty() && host.front() == '[') {
    const size_t close = host.find(']');
    return close == std::string_view::npos ? host : host.substr(0, close + 1);
  }
  return host.substr(0, host.find(':'));
}

bool IsThisMachineHost(std::string_view host) {
  std::string_view name = HostWithoutPort(host);
  if (IsIpLiteral(name)) return true;
  if (!name.empty() && name.back() == '.') name.remove_suffix(1);  // an absolute name
  const std::string computer = ComputerName();
  return EqualsIgnoreAsciiCase(name, "localhost") ||
         (!computer.empty() && (EqualsIgnoreAsciiCase(name, computer) ||
                                EqualsIgnoreAsciiCase(name, computer + ".local")));
}

}  // namespace chimewell
