// chimewell-tool tell against the real program: two processes of the same user, the clock
// headless on a port of the test's choosing, the tool as a desktop shortcut runs it.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "child_process.h"
#include "support/temp_dir.h"

namespace chimewell {
namespace {

using namespace std::chrono_literals;
using testing::ChildProcess;
using testing::TempDir;
using testing::WriteBytes;

// A port the clock's settings can name (1..32766) that nothing holds now.
int FreePort() {
  for (int port = 20000 + getpid() % 10000; port < 32766; ++port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    const bool free = ::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    ::close(fd);
    if (free) return port;
  }
  return -1;
}

// The body of GET `path` from the clock on this machine's loopback.
std::string Get(int port, const std::string& path) {
  const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<uint16_t>(port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  std::string answer;
  if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0) {
    const std::string request =
        "GET " + path + " HTTP/1.1\r\nHost: localhost\r\nConnection: close\r\n\r\n";
    (void)::send(fd, request.data(), request.size(), MSG_NOSIGNAL);
    char buffer[4096];
    for (ssize_t got; (got = ::recv(fd, buffer, sizeof buffer, 0)) > 0;) answer.append(buffer, got);
  }
  ::close(fd);
  const size_t body = answer.find("\r\n\r\n");
  return body == std::string::npos ? answer : answer.substr(body + 4);
}

// Runs the tool and returns its exit status (-1 when it did not end).
int Tell(const TempDir& home, std::vector<std::string> words) {
  std::vector<std::string> argv = {CHIMEWELL_TOOL, "tell", "--home", home.path().string()};
  argv.insert(argv.end(), words.begin(), words.end());
  ChildProcess tool(argv);
  const auto status = tool.Wait(60s);
  return status && WIFEXITED(*status) ? WEXITSTATUS(*status) : -1;
}

TEST(TellTest, AShortcutMutesSpeaksAndSaysTheTimeThroughTheRunningClock) {
  TempDir home;
  const int port = FreePort();
  ASSERT_GT(port, 0);
  WriteBytes(home / "chimewell.ini", "[App]\nPortNumber=" + std::to_string(port) + "\n");
  EXPECT_EQ(Tell(home, {"now"}), 1) << "no clock runs yet";

  ChildProcess clock({CHIMEWELL_PROGRAM, "--home", home.path().string(), "--audio", "null"},
                     {"DISPLAY", "WAYLAND_DISPLAY"});
  ASSERT_TRUE(clock.LineStartingWith("Configuration page: http://", 120s));

  EXPECT_EQ(Tell(home, {"mute", "on"}), 0);
  EXPECT_NE(Get(port, "/api/status").find("\"muted\":true"), std::string::npos);
  EXPECT_EQ(Tell(home, {"mute", "off"}), 0);
  EXPECT_NE(Get(port, "/api/status").find("\"muted\":false"), std::string::npos);
  EXPECT_EQ(Tell(home, {"say", "会議は", "三時からです"}), 0);
  EXPECT_EQ(Tell(home, {"now"}), 0);
  EXPECT_EQ(Tell(home, {"mute", "maybe"}), 2) << "the tool refuses what the clock would not take";
  EXPECT_EQ(Tell(home, {"say"}), 2);

  // Another folder's clock is another clock: nobody answers for this one.
  TempDir elsewhere;
  EXPECT_EQ(Tell(elsewhere, {"now"}), 1);

  clock.Signal(SIGTERM);
  clock.Wait(60s);
  EXPECT_EQ(Tell(home, {"now"}), 1);
}

}  // namespace
}  // namespace chimewell
