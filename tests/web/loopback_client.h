#pragma once
// A minimal blocking HTTP client for the server tests: over 127.0.0.1, or to another address
// of a test network that stays on this machine.
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace chimewell::testing {

// An open client connection; closed when destroyed.
class LoopbackClient {
 public:
  // From `source` (another loopback address such as "127.0.0.2") when given; to
  // `destination` instead of 127.0.0.1 when given.
  explicit LoopbackClient(uint16_t port, const char* source = nullptr,
                          const char* destination = nullptr);
  ~LoopbackClient();
  LoopbackClient(const LoopbackClient&) = delete;
  LoopbackClient& operator=(const LoopbackClient&) = delete;

  bool connected() const { return fd_ >= 0; }
  int fd() const { return fd_; }
  bool Send(std::string_view bytes);
  // Tells the server nothing more will be sent (half-close); the answer can still be read.
  void FinishSending();
  // Reads until the server closes the connection, at most `timeout_ms` of silence.
  // `closed` tells whether the server did close it within that time.
  std::string ReadToClose(int timeout_ms, bool* closed = nullptr);
  void Close();

 private:
  int fd_ = -1;
};

// Sends `request` on a new connection and returns everything received until the server closes.
std::string Exchange(uint16_t port, std::string_view request, int timeout_ms = 5000,
                     const char* source = nullptr, const char* destination = nullptr);

struct ParsedResponse {
  std::string status_line;
  std::vector<std::string> header_lines;  // in order, without line ends
  std::string body;
};
// Splits raw response bytes at the first empty line; header lines must end in CR LF.
ParsedResponse ParseResponse(const std::string& raw);

// Number of threads of this process.
int ThreadCount();

}  // namespace chimewell::testing
