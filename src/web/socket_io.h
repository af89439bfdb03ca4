#pragma once
// The address of a connected socket's peer.
#include <string>

namespace chimewell {

// The numeric IP address of the peer ("127.0.0.1"; IPv4 peers of an IPv6 socket as IPv4).
std::string PeerAddressOf(int fd);

}  // namespace chimewell
