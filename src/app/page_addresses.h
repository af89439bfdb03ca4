#pragma once
// The configuration page's addresses as the program gives them out when the page answers.
#include <string>
#include <vector>

namespace chimewell {

// The page on this machine, and, when other machines may come in (an access password is
// set), the addresses of `interface_addresses` that they can use: loopback and IPv6
// link-local addresses, which no browser elsewhere can open, are left out. One line each.
std::string PageAddressLines(int port, bool remote_access,
                             const std::vector<std::string>& interface_addresses);

}  // namespace chimewell
