#include "ui/show_request_channel.h"

#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>

#include "platform/linux/instance_channel.h"

namespace chimewell {
namespace {

// A shortcut's line is short; a client that sends more, sends too slowly or opens many
// connections at once is dropped, so it cannot hold the clock's memory or its socket.
constexpr size_t kMaxLineBytes = 8 * 1024;
constexpr int kClientTimeoutMs = 2000;
constexpr size_t kMaxClients = 16;

constexpr const char* kNoHandler = "error not ready";

}  // namespace

std::string ShowRequestName(const std::string& lock_file) { return InstanceChannelName(lock_file); }

ShowRequestListener::ShowRequestListener(const std::string& name, std::function<void()> on_request)
    : on_request_(std::move(on_request)) {
  fd_ = ListenOnInstanceChannel(name, static_cast<int>(kMaxClients));
  if (fd_ < 0) return;
  notifier_ = std::make_unique<QSocketNotifier>(fd_, QSocketNotifier::Read);
  QObject::connect(notifier_.get(), &QSocketNotifier::activated, [this] { Accept(); });
}

ShowRequestListener::~ShowRequestListener() {
  notifier_.reset();
  while (!clients_.empty()) Drop(clients_.begin()->first);
  if (fd_ >= 0) ::close(fd_);
}

void ShowRequestListener::Accept() {
  for (;;) {
    const int client = ::accept4(fd_, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
    if (client < 0) return;
    // Anyone on this machine may connect to an abstract socket; only the same user may ask.
    ucred peer{};
    socklen_t size = sizeof peer;
    const bool same_user =
        ::getsockopt(client, SOL_SOCKET, SO_PEERCRED, &peer, &size) == 0 && peer.uid == geteuid();
    if (!same_user || clients_.size() >= kMaxClients) {
      ::close(client);
      continue;
    }
    Client& entry = clients_[client];
    entry.notifier = std::make_unique<QSocketNotifier>(client, QSocketNotifier::Read);
    QObject::connect(entry.notifier.get(), &QSocketNotifier::activated,
                     [this, client] { Read(client); });
    entry.deadline = std::make_unique<QTimer>();
    entry.deadline->setSingleShot(true);
    QObject::connect(entry.deadline.get(), &QTimer::timeout, [this, client] { Drop(client); });
    entry.deadline->start(kClientTimeoutMs);
  }
}

void ShowRequestListener::Read(int client) {
  const auto found = clients_.find(client);
  if (found == clients_.end()) return;
  std::string& bytes = found->second.bytes;
  for (;;) {
    char buffer[1024];
    const ssize_t got = ::recv(client, buffer, sizeof buffer, 0);
    if (got == 0) return Finish(client);
    if (got < 0) {
      if (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR) return;
      return Drop(client);
    }
    bytes.append(buffer, static_cast<size_t>(got));
    if (bytes.size() > kMaxLineBytes) return Drop(client);
    if (bytes.find('\n') != std::string::npos) return Finish(client);
  }
}

void ShowRequestListener::Finish(int client) {
  const std::string bytes = clients_[client].bytes;
  if (bytes.empty()) {
    Drop(client);
    if (on_request_) on_request_();
    return;
  }
  std::string answer = on_line_ ? on_line_(std::string_view(bytes).substr(0, bytes.find('\n')))
                                : std::string(kNoHandler);
  answer += '\n';
  // A few bytes into an empty socket buffer: they fit at once.
  (void)::send(client, answer.data(), answer.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
  Drop(client);
}

void ShowRequestListener::Drop(int client) {
  const auto found = clients_.find(client);
  if (found == clients_.end()) return;
  // This may run inside the notifier's or the timer's own signal: they are deleted later.
  found->second.notifier->setEnabled(false);
  found->second.notifier.release()->deleteLater();
  found->second.deadline->stop();
  found->second.deadline.release()->deleteLater();
  clients_.erase(found);
  ::close(client);
}

bool RequestShow(const std::string& name) { return PokeInstance(name); }

}  // namespace chimewell
