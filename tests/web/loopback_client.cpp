#include "web/loopback_client.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <filesystem>

namespace chimewell::testing {

LoopbackClient::LoopbackClient(uint16_t port, const char* source, const char* destination) {
  fd_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (source != nullptr) {
    sockaddr_in from{};
    from.sin_family = AF_INET;
    inet_pton(AF_INET, source, &from.sin_addr);
    if (bind(fd_, reinterpret_cast<const sockaddr*>(&from), sizeof from) != 0) Close();
  }
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_port = htons(port);
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (destination != nullptr) inet_pton(AF_INET, destination, &addr.sin_addr);
  if (fd_ >= 0 && connect(fd_, reinterpret_cast<const sockaddr*>(&addr), sizeof addr) != 0) {
    Close();
  }
}

LoopbackClient::~LoopbackClient() { Close(); }

void LoopbackClient::Close() {
  if (fd_ >= 0) close(fd_);
  fd_ = -1;
}

bool LoopbackClient::Send(std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL);
    if (n <= 0) return false;
    bytes.remove_prefix(static_cast<size_t>(n));
  }
  return true;
}

void LoopbackClient::FinishSending() { shutdown(fd_, SHUT_WR); }

std::string LoopbackClient::ReadToClose(int timeout_ms, bool* closed) {
  std::string received;
  bool saw_close = false;
  char buffer[4096];
  while (true) {
    pollfd pfd{fd_, POLLIN, 0};
    if (poll(&pfd, 1, timeout_ms) <= 0) break;
    const ssize_t n = recv(fd_, buffer, sizeof buffer, 0);
    if (n <= 0) {
      saw_close = true;  // orderly close or reset: either way the server is done with us
      break;
    }
    received.append(buffer, static_cast<size_t>(n));
  }
  if (closed) *closed = saw_close;
  return received;
}

std::string Exchange(uint16_t port, std::string_view request, int timeout_ms, const char* source,
                     const char* destination) {
  LoopbackClient client(port, source, destination);
  if (!client.connected() || !client.Send(request)) return {};
  return client.ReadToClose(timeout_ms);
}

ParsedResponse ParseResponse(const std::string& raw) {
  ParsedResponse parsed;
  size_t pos = 0;
  bool first = true;
  while (true) {
    const size_t end = raw.find("\r\n", pos);
    if (end == std::string::npos) break;
    const std::string line = raw.substr(pos, end - pos);
    pos = end + 2;
    if (line.empty()) {
      parsed.body = raw.substr(pos);
      break;
    }
    if (first) {
      parsed.status_line = line;
      first = false;
    } else {
      parsed.header_lines.push_back(line);
    }
  }
  return parsed;
}

int ThreadCount() {
  int count = 0;
  for ([[maybe_unused]] const auto& entry :
       std::filesystem::directory_iterator("/proc/self/task")) {
    ++count;
  }
  return count;
}

}  // namespace chimewell::testing
