#include "web/socket_io.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>

#include <cerrno>

namespace chimewell {
namespace {

// Waits until the socket is ready for `events`; false on time-out or error.
bool WaitReady(int fd, short events, int timeout_ms) {
  pollfd pfd{fd, events, 0};
  while (true) {
    const int n = poll(&pfd, 1, timeout_ms);
    if (n > 0) return true;
    if (n == 0) return false;
    if (errno != EINTR) return false;
  }
}

}  // namespace

ssize_t SocketByteSource::Receive(char* buffer, size_t size) {
  while (true) {
    if (!WaitReady(fd_, POLLIN, idle_timeout_ms_)) return -1;
    const ssize_t n = recv(fd_, buffer, size, MSG_DONTWAIT);
    if (n >= 0) return n;
    if (errno != EINTR && errno != EAGAIN && errno != EWOULDBLOCK) return -1;
  }
}

bool SendAll(int fd, std::string_view data, int idle_timeout_ms) {
  while (!data.empty()) {
    if (!WaitReady(fd, POLLOUT, idle_timeout_ms)) return false;
    const ssize_t n = send(fd, data.data(), data.size(), MSG_DONTWAIT | MSG_NOSIGNAL);
    if (n > 0) {
      data.remove_prefix(static_cast<size_t>(n));
    } else if (n < 0 && errno != EINTR && errno != EAGAIN && errno != EWOULDBLOCK) {
      return false;
    }
  }
  return true;
}

std::string PeerAddressOf(int fd) {
  sockaddr_storage addr{};
  socklen_t len = sizeof addr;
  if (getpeername(fd, reinterpret_cast<sockaddr*>(&addr), &len) != 0) return {};
  char text[INET6_ADDRSTRLEN] = {};
  if (addr.ss_family == AF_INET) {
    const auto* v4 = reinterpret_cast<const sockaddr_in*>(&addr);
    inet_ntop(AF_INET, &v4->sin_addr, text, sizeof text);
  } else if (addr.ss_family == AF_INET6) {
    const auto* v6 = reinterpret_cast<const sockaddr_in6*>(&addr);
    if (IN6_IS_ADDR_V4MAPPED(&v6->sin6_addr)) {
      inet_ntop(AF_INET, &v6->sin6_addr.s6_addr[12], text, sizeof text);
    } else {
      inet_ntop(AF_INET6, &v6->sin6_addr, text, sizeof text);
    }
  }
  return text;
}

}  // namespace chimewell
