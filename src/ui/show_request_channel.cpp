#include "ui/show_request_channel.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>

namespace chimewell {
namespace {

// An abstract socket address: it has no file, so a killed clock leaves nothing behind and the
// folder's path length does not matter.
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

}  // namespace

std::string ShowRequestName(const std::string& lock_file) {
  std::error_code error;
  const auto path = std::filesystem::weakly_canonical(lock_file, error);
  char name[64];
  std::snprintf(name, sizeof name, "chimewell-%u-%016llx", static_cast<unsigned>(geteuid()),
                static_cast<unsigned long long>(Digest(error ? lock_file : path.string())));
  return name;
}

ShowRequestListener::ShowRequestListener(const std::string& name, std::function<void()> on_request)
    : on_request_(std::move(on_request)) {
  fd_ = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
  if (fd_ < 0) return;
  sockaddr_un address;
  const socklen_t length = AbstractAddress(name, address);
  if (::bind(fd_, reinterpret_cast<const sockaddr*>(&address), length) != 0 ||
      ::listen(fd_, 4) != 0) {
    ::close(fd_);
    fd_ = -1;
    return;
  }
  notifier_ = std::make_unique<QSocketNotifier>(fd_, QSocketNotifier::Read);
  QObject::connect(notifier_.get(), &QSocketNotifier::activated, [this] { Accept(); });
}

ShowRequestListener::~ShowRequestListener() {
  notifier_.reset();
  if (fd_ >= 0) ::close(fd_);
}

void ShowRequestListener::Accept() {
  for (;;) {
    const int client = ::accept4(fd_, nullptr, nullptr, SOCK_CLOEXEC);
    if (client < 0) return;
    // Anyone on this machine may connect to an abstract socket; only the same user may ask.
    ucred peer{};
    socklen_t size = sizeof peer;
    const bool same_user =
        ::getsockopt(client, SOL_SOCKET, SO_PEERCRED, &peer, &size) == 0 && peer.uid == geteuid();
    ::close(client);
    if (same_user && on_request_) on_request_();
  }
}

bool RequestShow(const std::string& name) {
  const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return false;
  sockaddr_un address;
  const socklen_t length = AbstractAddress(name, address);
  const bool connected = ::connect(fd, reinterpret_cast<const sockaddr*>(&address), length) == 0;
  ::close(fd);
  return connected;
}

}  // namespace chimewell
