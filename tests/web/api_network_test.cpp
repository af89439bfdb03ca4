// The API over real sockets: from this machine's loopback, from this machine under its network
// address, and from another machine in a network namespace of the test's own.
#include <gmock/gmock.h>

#include "core/api_token_list.h"
#include "web/api_tokens.h"
#include "web/handler_fixture.h"
#include "web/loopback_client.h"
#include "web/network_lab.h"
#include "web/web_config_server.h"

namespace chimewell::testing {
namespace {

using ::testing::HasSubstr;
using ::testing::StartsWith;

constexpr const char* kHere = NetworkLab::kHereAddress;
constexpr const char* kThere = NetworkLab::kThereAddress;

class ApiNetworkTest : public HandlerTest {
 protected:
  enum class From { kLoopback, kNetworkAddress, kThere };

  void SetUp() override {
    if (!lab.ready()) GTEST_SKIP() << "needs root to make network namespaces";
    HandlerTest::SetUp();
    app->SetMuted(true);  // queued messages stay queued; the test reads the count
    server = std::make_unique<WebConfigServer>(ui, PageServices{fonts, files, clock, speech});
    server->Attach(*app);
    lab.Here([&] {
      std::string error;
      ASSERT_TRUE(server->Listen(0, error)) << error;
    });
  }
  void TearDown() override { server.reset(); }

  ParsedResponse Ask(From from, const std::string& head, const std::string& body = {}) {
    const std::string request = head + "Content-Length: " + std::to_string(body.size()) +
                                "\r\nConnection: close\r\n\r\n" + body;
    const auto port = static_cast<uint16_t>(server->Port());
    std::string raw;
    switch (from) {
      case From::kLoopback:
        lab.Here([&] { raw = Exchange(port, request); });
        break;
      case From::kNetworkAddress:
        lab.Here([&] { raw = Exchange(port, request, 5000, kHere, kHere); });
        break;
      case From::kThere:
        lab.There([&] { raw = Exchange(port, request, 5000, kThere, kHere); });
        break;
    }
    return ParseResponse(raw);
  }
  std::string Say(const std::string& host, const std::string& extra = {}) {
    return "POST /api/say HTTP/1.1\r\nHost: " + host + "\r\n" + extra +
           "Content-Type: application/json\r\n";
  }

  NetworkLab lab;
  std::unique_ptr<WebConfigServer> server;
};

TEST_F(ApiNetworkTest, ThisMachineSpeaksWithoutAKeyOtherMachinesOnlyWithOne) {
  const std::string body = R"({"message":"テスト"})";
  const std::string here = std::string(kHere) + ":" + std::to_string(server->Port());
  const ParsedResponse loopback = Ask(From::kLoopback, Say("localhost"), body);
  EXPECT_EQ(loopback.status_line, "HTTP/1.1 202 Accepted");
  EXPECT_THAT(loopback.header_lines,
              ::testing::Contains("Content-Type: application/json; charset=utf-8"));
  EXPECT_THAT(loopback.body, HasSubstr("\"id\":1"));
  for (const std::string& line : loopback.header_lines) {
    EXPECT_THAT(line, ::testing::Not(StartsWith("Access-Control"))) << "no CORS";
  }

  // While no key exists, and without one, other clients are refused with a reason.
  const ParsedResponse none = Ask(From::kThere, Say(here), body);
  EXPECT_EQ(none.status_line, "HTTP/1.1 401 Unauthorized");
  EXPECT_THAT(none.header_lines, ::testing::Contains(StartsWith("WWW-Authenticate: Bearer")));
  EXPECT_THAT(none.body, HasSubstr("\"reason\":\""));
  EXPECT_EQ(Ask(From::kNetworkAddress, Say(here), body).status_line, "HTTP/1.1 401 Unauthorized");

  const NewApiToken key = MakeApiToken();
  ASSERT_EQ(app->AddApiToken("ha", key.hash), ApiTokenChange::kAdded);
  const std::string bearer = "Authorization: Bearer " + key.secret + "\r\n";
  EXPECT_EQ(Ask(From::kThere, Say(here, bearer), body).status_line, "HTTP/1.1 202 Accepted");
  EXPECT_EQ(Ask(From::kThere, Say(here, "Authorization: Bearer cw_nope\r\n"), body).status_line,
            "HTTP/1.1 401 Unauthorized");
  // A browser on that machine, led by another site, is refused even with the key.
  EXPECT_EQ(
      Ask(From::kThere, Say(here, bearer + "Origin: http://evil.example\r\n"), body).status_line,
      "HTTP/1.1 403 Forbidden");
  EXPECT_EQ(Ask(From::kThere, Say("evil.example", bearer), body).status_line,
            "HTTP/1.1 403 Forbidden");

  // A removed key stops working at once.
  ASSERT_TRUE(app->RemoveApiToken("ha"));
  EXPECT_EQ(Ask(From::kThere, Say(here, bearer), body).status_line, "HTTP/1.1 401 Unauthorized");
  EXPECT_EQ(app->Status().queued, 2u);
}

TEST_F(ApiNetworkTest, BadBodiesGetTheirReasonAndTheConfigurationPageIsUnchanged) {
  const struct {
    std::string body;
    const char* status;
  } cases[] = {
      {"{\"message\":", "HTTP/1.1 400 Bad Request"},
      {"{\"message\":\"\xff\"}", "HTTP/1.1 400 Bad Request"},
      {"{\"message\":[1]}", "HTTP/1.1 400 Bad Request"},
      {"{\"message\":\"" + std::string(1001, 'a') + "\"}", "HTTP/1.1 413 Content Too Large"},
  };
  for (const auto& c : cases) {
    const ParsedResponse r = Ask(From::kLoopback, Say("localhost"), c.body);
    EXPECT_EQ(r.status_line, c.status) << c.body.substr(0, 20);
    EXPECT_THAT(r.body, HasSubstr("\"reason\":\"")) << c.body.substr(0, 20);
  }
  EXPECT_EQ(app->Status().queued, 0u);
  // The page itself still answers as before.
  EXPECT_THAT(Ask(From::kLoopback, "GET / HTTP/1.1\r\nHost: localhost\r\n").status_line,
              StartsWith("HTTP/1.1 200"));
}

}  // namespace
}  // namespace chimewell::testing
