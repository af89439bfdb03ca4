#pragma once
// Socket addresses in the numeric form the server compares and logs.
#include <sys/socket.h>

#include <string>

namespace chimewell {

// The numeric IP address in `addr` ("127.0.0.1"; an IPv4 address mapped into IPv6 as IPv4).
// Empty for any family but IPv4 and IPv6, or when `len` is too short to hold the address.
std::string NumericAddress(const sockaddr* addr, socklen_t len);

}  // namespace chimewell
