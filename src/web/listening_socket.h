#pragma once
// Opens the server's listening socket on every local address of a port.
#include <cstdint>
#include <string>

namespace chimewell {

// The text reported when the port is taken by another program.
inline constexpr const char* kBindInUseText =
    "Could not bind socket. Address and port are already in use.";

// A listening, non-blocking TCP socket on all local addresses (IPv6 and IPv4 where the system
// has IPv6, else IPv4 only), with address reuse on. Returns -1 and sets `error` on failure.
int OpenListeningSocket(uint16_t port, int backlog, std::string& error);

// The local port a socket is bound to (the chosen one when bound to port 0).
uint16_t LocalPortOf(int fd);

}  // namespace chimewell
