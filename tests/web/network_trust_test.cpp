// Who counts as this machine, over a real network: another machine in a namespace of its own,
// and this machine reached under its network address rather than loopback.
#include <arpa/inet.h>
#include <gmock/gmock.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <algorithm>
#include <future>
#include <thread>

#include "web/connection_loop.h"
#include "web/handler_fixture.h"
#include "web/listening_socket.h"
#include "web/loopback_client.h"
#include "web/network_lab.h"
#include "web/this_machine.h"
#include "web/web_config_server.h"

namespace chimewell::testing {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;

constexpr const char* kHere = NetworkLab::kHereAddress;
constexpr const char* kThere = NetworkLab::kThereAddress;
constexpr const char* kNotApplied = "変更しませんでした";

constexpr const char* kNeedsRoot = "needs root to make network namespaces";

TEST(NetworkTrust, InterfaceAddressesListLoopback) {
  const auto here = InterfaceAddresses();
  EXPECT_NE(std::find(here.begin(), here.end(), "127.0.0.1"), here.end()) << "loopback is listed";
}

TEST(NetworkTrust, OnlyAddressesOfThisMachineAreThisMachine) {
  NetworkLab lab;
  if (!lab.ready()) GTEST_SKIP() << kNeedsRoot;
  // Interfaces list entries without an IP address too; none of them may match.
  const std::pair<const char*, bool> cases[] = {
      {kHere, true},   {"127.0.0.1", true}, {"127.8.9.10", true}, {"::1", true},
      {kThere, false}, {"", false},         {"cw0", false},       {"10.77.0.1 ", false},
  };
  lab.Here([&] {
    for (const auto& [address, here] : cases) {
      EXPECT_EQ(IsThisMachineAddress(address), here) << "[" << address << "]";
    }
  });
}

// A client on another machine sends its request and resets the connection before the server
// has accepted it: the address must still be the client's.
TEST(NetworkTrust, AConnectionResetBeforeAcceptKeepsItsAddress) {
  NetworkLab lab;
  if (!lab.ready()) GTEST_SKIP() << kNeedsRoot;
  int listen_fd = -1;
  uint16_t port = 0;
  lab.Here([&] {
    std::string error;
    listen_fd = OpenListeningSocket(0, 16, error);
    port = LocalPortOf(listen_fd);
  });
  ASSERT_GE(listen_fd, 0);
  lab.There([&] {
    LoopbackClient client(port, kThere, kHere);
    ASSERT_TRUE(client.connected());
    client.Send("GET /?MUTE=1 HTTP/1.1\r\nHost: 10.77.0.1\r\n\r\n");
    const linger reset{1, 0};
    ASSERT_EQ(setsockopt(client.fd(), SOL_SOCKET, SO_LINGER, &reset, sizeof reset), 0);
  });
  // The reset has gone out; it reaches the queued connection while nothing accepts.
  std::this_thread::sleep_for(std::chrono::milliseconds(100));

  std::promise<HttpRequestInfo> arrived;  // a second request would throw here
  std::future<HttpRequestInfo> seen = arrived.get_future();
  const auto record = [&](HttpRequestInfo& request) {
    arrived.set_value(request);
    return std::string();
  };
  const HttpLimits limits;
  std::atomic<int> open_count{0};
  lab.Here([&] {
    HandlerPool this_machine(record, 1);
    HandlerPool other_machines(record, 1);
    ConnectionLoop loop(listen_fd, limits,
                        HandlerLanes{this_machine, other_machines, IsThisMachineAddress},
                        open_count);
    std::thread serving([&] { loop.Run(); });
    seen.wait_for(std::chrono::seconds(10));
    loop.Stop();
    serving.join();
  });
  ASSERT_EQ(seen.wait_for(std::chrono::seconds(0)), std::future_status::ready);
  const HttpRequestInfo request = seen.get();
  EXPECT_EQ(request.PeerAddress, kThere);
  EXPECT_FALSE(request.LocalPeer);
}

// The configuration page served in the lab, reached from loopback, from this machine's
// network address, and from the other machine.
class NetworkPageTest : public HandlerTest {
 protected:
  enum class From { kLoopback, kNetworkAddress, kThere };

  void SetUp() override {
    if (!lab.ready()) GTEST_SKIP() << kNeedsRoot;
    HandlerTest::SetUp();
    server = std::make_unique<WebConfigServer>(ui, PageServices{fonts, files, clock, speech});
    server->Attach(*app);
    server->BuildPageCache();
    // Its threads start here, inside the lab, and stay there.
    lab.Here([&] {
      std::string error;
      ASSERT_TRUE(server->Listen(0, error)) << error;
    });
    port = std::to_string(server->Port());
  }
  void TearDown() override { server.reset(); }

  ParsedResponse Ask(From from, const std::string& target, const std::string& headers) {
    const std::string request = "GET " + target + " HTTP/1.1\r\n" + headers + "\r\n";
    const auto port_number = static_cast<uint16_t>(server->Port());
    std::string raw;
    switch (from) {
      case From::kLoopback:
        lab.Here([&] { raw = Exchange(port_number, request); });
        break;
      case From::kNetworkAddress:
        lab.Here([&] { raw = Exchange(port_number, request, 5000, kHere, kHere); });
        break;
      case From::kThere:
        lab.There([&] { raw = Exchange(port_number, request, 5000, kThere, kHere); });
        break;
    }
    return ParseResponse(raw);
  }

  NetworkLab lab;
  std::unique_ptr<WebConfigServer> server;
  std::string port;
};

TEST_F(NetworkPageTest, AChangeAppliesOnlyWithProofItComesFromOurPage) {
  const std::string lan = "http://" + std::string(kHere) + ":" + port;
  const std::string lan_host = "Host: " + std::string(kHere) + ":" + port + "\r\n";
  const std::string local_host = "Host: localhost:" + port + "\r\n";
  struct Case {
    From from;
    std::string headers;
    bool applied;
  };
  const Case cases[] = {
      // A script on this machine: no browser headers, loopback both ways.
      {From::kLoopback, local_host, true},
      {From::kLoopback, "Host: 127.0.0.1:" + port + "\r\n", true},
      {From::kLoopback, lan_host, false},
      {From::kLoopback, "", false},
      // Through the network address, browsers send no Sec-Fetch-Site, and a page may hide
      // its Origin and Referer (an image with referrerpolicy="no-referrer").
      {From::kNetworkAddress, lan_host, false},
      {From::kNetworkAddress, lan_host + "Referer: " + lan + "/?MUTE=0\r\n", true},
      {From::kNetworkAddress, lan_host + "Origin: " + lan + "\r\n", true},
      {From::kNetworkAddress, lan_host + "Sec-Fetch-Site: same-origin\r\n", true},
      {From::kNetworkAddress, lan_host + "Sec-Fetch-Site: none\r\n", true},
      {From::kNetworkAddress, lan_host + "Origin: null\r\n", false},
      {From::kNetworkAddress, lan_host + "Referer: http://localhost:" + port + "/\r\n", false},
      {From::kNetworkAddress, lan_host + "Sec-Fetch-Site: cross-site\r\nReferer: " + lan + "/\r\n",
       false},
  };
  for (const Case& c : cases) {
    const auto page = Ask(c.from, "/?MUTE=1", c.headers);
    EXPECT_EQ(page.status_line, "HTTP/1.1 200 OK") << c.headers;
    EXPECT_EQ(app->Menu().Muted(), c.applied) << c.headers;
    EXPECT_EQ(page.body.find(kNotApplied) == std::string::npos, c.applied) << c.headers;
    Ask(From::kLoopback, "/?MUTE=0", local_host);
  }
  // Only looking needs no proof; the other machine, without a password set, gets nothing.
  EXPECT_THAT(Ask(From::kNetworkAddress, "/", lan_host).body, Not(HasSubstr(kNotApplied)));
  EXPECT_EQ(Ask(From::kThere, "/?MUTE=1", lan_host).status_line, "HTTP/1.1 403 Forbidden");
  EXPECT_FALSE(app->Menu().Muted());
}

}  // namespace
}  // namespace chimewell::testing
