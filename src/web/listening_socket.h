#pragma once
// Opens the server's listening socket on every local address of a port.
#include <cstdint>
#include <string>

namespace chimewell {

// Why a port cannot be listened on, as the sentence "ポート N は …" goes on: taken by another
// program, or refused for another reason (named by the system).
inline constexpr const char* kBindInUseText = "他のプログラムが使っています";
inline constexpr const char* kBindFailedText = "開けません";

// A listening, non-blocking TCP socket on all local addresses (IPv6 and IPv4 where the system
// has IPv6, else IPv4 only), with address reuse on. Returns -1 and sets `error` on failure.
int OpenListeningSocket(uint16_t port, int backlog, std::string& error);

// The local port a socket is bound to (the chosen one when bound to port 0).
uint16_t LocalPortOf(int fd);

}  // namespace chimewell
