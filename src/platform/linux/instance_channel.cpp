#include "platform/linux/instance_channel.h"

#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>

namespace chimewell {
namespace {

socklen_t AbstractAddress(const std::string& name, sockaddr_un& address) {
  address = {};
  address.sun_family = AF_UNIX;
  const size_t length = std::min(name.size(), sizeof address.sun_path - 1);
  std::memcpy(address.sun_path + 1, name.data(), length);
  return static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + length);
}

// FNV-1a: a stable short digest of the folder's path for the socket's name.
uint64_t Digest(const std::string& text) {
  uint64_t hash = 14695981039346656037ULL;
  for (const unsigned char c : text) hash = (hash ^ c) * 1099511628211ULL;
  return hash;
}

// The longest answer read; the clock's are a few words.
constexpr size_t kMaxAnswerBytes = 4096;

}  // namespace

std::string InstanceChannelName(const std::string& lock_file) {
  std::error_code error;
  const auto path = std::filesystem::weakly_canonical(lock_file, error);
  char name[64];
  std::snprintf(name, sizeof name, "chimewell-%u-%016llx", static_cast<unsigned>(geteuid()),
                static_cast<unsigned long long>(Digest(error ? lock_file : path.string())));
  return name;
}

std::string InstanceLockFile(const std::string& settings_file) {
  return std::filesystem::path(settings_file).replace_extension(".lock").string();
}

int ListenOnInstanceChannel(const std::string& name, int backlog) {
  const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
  if (fd < 0) return -1;
  sockaddr_un address;
  const socklen_t length = AbstractAddress(name, address);
  if (::bind(fd, reinterpret_cast<const sockaddr*>(&address), length) != 0 ||
      ::listen(fd, backlog) != 0) {
    ::close(fd);
    return -1;
  }
  return fd;
}

bool PokeInstance(const std::string& name) {
  const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return false;
  sockaddr_un address;
  const socklen_t length = AbstractAddress(name, address);
  const bool connected = ::connect(fd, reinterpret_cast<const sockaddr*>(&address), length) == 0;
  ::close(fd);
  return connected;
}

std::optional<std::string> SendInstanceRequest(const std::string& name, std::string_view line,
                                               int timeout_ms) {
  const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return std::nullopt;
  sockaddr_un address;
  const socklen_t length = AbstractAddress(name, address);
  std::string request(line);
  request += '\n';
  if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), length) != 0 ||
      ::send(fd, request.data(), request.size(), MSG_NOSIGNAL) !=
          static_cast<ssize_t>(request.size())) {
    ::close(fd);
    return std::nullopt;
  }
  ::shutdown(fd, SHUT_WR);
  std::string answer;
  const auto give_up = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
  for (;;) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        give_up - std::chrono::steady_clock::now());
    pollfd p{fd, POLLIN, 0};
    if (left.count() <= 0 || ::poll(&p, 1, static_cast<int>(left.count())) <= 0) break;
    char buffer[512];
    const ssize_t got = ::recv(fd, buffer, sizeof buffer, 0);
    if (got <= 0) break;
    answer.append(buffer, static_cast<size_t>(got));
    if (answer.find('\n') != std::string::npos || answer.size() > kMaxAnswerBytes) break;
  }
  ::close(fd);
  const size_t end = answer.find('\n');
  if (end == std::string::npos) return std::nullopt;
  return answer.substr(0, end);
}

}  // namespace chimewell
