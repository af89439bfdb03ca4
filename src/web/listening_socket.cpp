#include "web/listening_socket.h"

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace chimewell {
namespace {

std::string BindErrorText(int error_number) {
  if (error_number == EADDRINUSE) return kBindInUseText;
  return std::string(kBindFailedText) + "（" + std::strerror(error_number) + "）";
}

// Binds and listens; returns the socket, or -1 with errno kept from the failing call.
int TryListen(int family, uint16_t port, int backlog) {
  const int fd = socket(family, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  if (fd < 0) return -1;
  const int on = 1;
  const int off = 0;
  setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
  int result;
  if (family == AF_INET6) {
    setsockopt(fd, IPPROTO_IPV6, IPV6_V6ONLY, &off, sizeof off);
    sockaddr_in6 addr{};
    addr.sin6_family = AF_INET6;
    addr.sin6_addr = in6addr_any;
    addr.sin6_port = htons(port);
    result = bind(fd, reinterpret_cast<const sockaddr*>(&addr), sizeof addr);
  } else {
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_ANY);
    addr.sin_port = htons(port);
    result = bind(fd, reinterpret_cast<const sockaddr*>(&addr), sizeof addr);
  }
  if (result == 0) result = listen(fd, backlog);
  if (result != 0) {
    const int saved = errno;
    close(fd);
    errno = saved;
    return -1;
  }
  return fd;
}

}  // namespace

int OpenListeningSocket(uint16_t port, int backlog, std::string& error) {
  int fd = TryListen(AF_INET6, port, backlog);
  // Without IPv6 on this system the IPv4 socket alone serves all local addresses.
  if (fd < 0 && (errno == EAFNOSUPPORT || errno == EADDRNOTAVAIL)) {
    fd = TryListen(AF_INET, port, backlog);
  }
  if (fd < 0) error = BindErrorText(errno);
  return fd;
}

uint16_t LocalPortOf(int fd) {
  sockaddr_storage addr{};
  socklen_t len = sizeof addr;
  if (getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len) != 0) return 0;
  if (addr.ss_family == AF_INET6) return ntohs(reinterpret_cast<sockaddr_in6*>(&addr)->sin6_port);
  return ntohs(reinterpret_cast<sockaddr_in*>(&addr)->sin_port);
}

}  // namespace chimewell
