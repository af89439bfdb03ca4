#pragma once
// Timed reads and writes on a connected TCP socket, and the peer's address.
#include <string>
#include <string_view>

#include "web/byte_source.h"

namespace chimewell {

// Reads from a socket, giving up (-1) when nothing arrives for `idle_timeout_ms`.
class SocketByteSource final : public ByteSource {
 public:
  SocketByteSource(int fd, int idle_timeout_ms) : fd_(fd), idle_timeout_ms_(idle_timeout_ms) {}
  ssize_t Receive(char* buffer, size_t size) override;

 private:
  int fd_;
  int idle_timeout_ms_;
};

// Sends all of `data`; false when the peer is gone or takes nothing for `idle_timeout_ms`.
bool SendAll(int fd, std::string_view data, int idle_timeout_ms);

// The numeric IP address of the peer ("127.0.0.1"; IPv4 peers of an IPv6 socket as IPv4).
std::string PeerAddressOf(int fd);

}  // namespace chimewell
