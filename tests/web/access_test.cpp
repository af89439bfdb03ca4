// Who may use the configuration page, over real sockets: the names the server answers to,
// pages of other sites, and clients on other machines. "Another machine" is a client bound to
// 127.0.0.2 while the server is told that only 127.0.0.1 is this machine.
#include <gmock/gmock.h>
#include <unistd.h>

#include <climits>
#include <fstream>
#include <sstream>

#include "core/settings_store.h"
#include "web/handler_fixture.h"
#include "web/loopback_client.h"
#include "web/web_config_server.h"

namespace chimewell::testing {
namespace {

using ::testing::Contains;
using ::testing::HasSubstr;
using ::testing::Not;

constexpr const char* kRemote = "127.0.0.2";
constexpr const char* kGoodCredentials = "YW55OnNlY3JldC1wYXNzLTE=";   // any:secret-pass-1
constexpr const char* kWrongCredentials = "YW55Ondyb25nLXBhc3MtMDA=";  // any:wrong-pass-00

class AccessTest : public HandlerTest {
 protected:
  void SetUp() override {
    HandlerTest::SetUp();
    WriteFile("chimewell.html", std::string(kHandlerTemplate) + "ACCESS[$!ACCESSPASSWORD!$]\n");
    server = std::make_unique<WebConfigServer>(ui, PageServices{fonts, files, clock, speech});
    server->SetLocalPeerTest([](const std::string& address) { return address == "127.0.0.1"; });
    server->Attach(*app);
    server->BuildPageCache();
    std::string error;
    ASSERT_TRUE(server->Listen(0, error)) << error;
    port = static_cast<uint16_t>(server->Port());
  }
  void TearDown() override { server.reset(); }

  // As a script on a loopback address would send it: under the name localhost unless
  // `headers` give another Host.
  ParsedResponse Ask(const std::string& target, const std::string& headers = "",
                     const char* source = nullptr) {
    return ParseResponse(Exchange(
        port, "GET " + target + " HTTP/1.1\r\n" + WithHost(headers) + "\r\n", 5000, source));
  }
  ParsedResponse PostBaseForm(const std::string& fields, const std::string& headers = "",
                              const char* source = nullptr) {
    const std::string body = "BASESET=1&SPEAKOFFSET=300&" + fields;
    return ParseResponse(
        Exchange(port,
                 "POST / HTTP/1.1\r\nContent-Length: " + std::to_string(body.size()) + "\r\n" +
                     WithHost(headers) + "\r\n" + body,
                 5000, source));
  }
  std::string Host() const { return "Host: localhost:" + std::to_string(port) + "\r\n"; }
  std::string WithHost(const std::string& headers) const {
    return headers.starts_with("Host:") ? headers : Host() + headers;
  }
  static std::string Auth(const char* credentials) {
    return std::string("Authorization: Basic ") + credentials + "\r\n";
  }
  std::string SettingsFile() const {
    std::stringstream text;
    text << std::ifstream(app->Paths().settings).rdbuf();
    return text.str();
  }

  std::unique_ptr<WebConfigServer> server;
  uint16_t port = 0;
};

TEST_F(AccessTest, AForeignHostNameGets421AndChangesNothing) {
  for (const std::string host :
       {"evil.example", "evil.example:80", "localhost.evil.example", "127.0.0.1.nip.io"}) {
    const auto response = Ask("/?MUTE=1", "Host: " + host + "\r\n");
    EXPECT_EQ(response.status_line, "HTTP/1.1 421 Misdirected Request") << host;
    EXPECT_THAT(response.body, HasSubstr("このアドレスでは")) << host;
  }
  EXPECT_FALSE(app->Menu().Muted());

  char computer[HOST_NAME_MAX + 1] = {};
  gethostname(computer, sizeof computer - 1);
  const std::string p = ":" + std::to_string(port);
  for (const std::string& host : std::vector<std::string>{
           "localhost" + p, "LocalHost", "127.0.0.1" + p, "[::1]" + p, "192.0.2.7",
           std::string(computer) + p, std::string(computer) + ".local"}) {
    EXPECT_EQ(Ask("/", "Host: " + host + "\r\n").status_line, "HTTP/1.1 200 OK") << host;
  }
}

TEST_F(AccessTest, PagesOfOtherSitesSeeThePageButChangeNothing) {
  const std::string own = "http://localhost:" + std::to_string(port);
  struct Case {
    std::string headers;
    bool applied;
  };
  const std::vector<Case> cases = {
      {"", true},  // a typed address or a bookmark
      {"Sec-Fetch-Site: none\r\n", true},
      {"Sec-Fetch-Site: same-origin\r\nOrigin: " + own + "\r\n", true},
      {"Referer: " + own + "/?BASESET=1\r\n", true},
      {"Origin: " + own + "\r\nReferer: http://evil.example/\r\n", true},  // the Origin decides
      {"Sec-Fetch-Site: cross-site\r\n", false},
      {"Sec-Fetch-Site: same-site\r\n", false},  // another application of this machine
      {"Origin: http://evil.example\r\n", false},
      {"Origin: null\r\n", false},
      {"Origin: http://localhost:1\r\n", false},
      {"Origin: https://localhost:" + std::to_string(port) + "\r\n", false},
      {"Referer: http://evil.example/attack.html\r\n", false},
  };
  for (const Case& c : cases) {
    const auto response = Ask("/?MUTE=1", c.headers);
    EXPECT_EQ(response.status_line, "HTTP/1.1 200 OK") << c.headers;
    EXPECT_THAT(response.body, HasSubstr("MUTE[")) << c.headers;
    EXPECT_EQ(app->Menu().Muted(), c.applied) << c.headers;
    Ask("/?MUTE=0");
  }
}

TEST_F(AccessTest, OtherMachinesAreRefusedUntilAPasswordIsSetHere) {
  for (const std::string& headers : {std::string(), Auth(kGoodCredentials)}) {
    const auto response = Ask("/?MUTE=1", headers, kRemote);
    EXPECT_EQ(response.status_line, "HTTP/1.1 403 Forbidden");
    EXPECT_THAT(response.body, HasSubstr("他のコンピューターから開くときのパスワード"));
  }
  EXPECT_FALSE(app->Menu().Muted());
  EXPECT_THAT(Ask("/").body, HasSubstr("ACCESS[未設定"));
}

TEST_F(AccessTest, APasswordSetHereLetsOtherMachinesInWithBasicAuthentication) {
  auto page = PostBaseForm("ACCESSPASSWORD=secret-pass-1");
  EXPECT_THAT(page.body, HasSubstr("ACCESS[設定済み]"));
  EXPECT_THAT(page.body, HasSubstr("OFFSET[300]"));
  const std::string settings = SettingsFile();
  EXPECT_THAT(settings, HasSubstr("AccessPasswordHash=$argon2id$"));
  EXPECT_THAT(settings, Not(HasSubstr("secret-pass-1")));
  const std::string hash = ReadAccessPasswordHash(app->Paths().settings);

  auto response = Ask("/?MUTE=1", "", kRemote);
  EXPECT_EQ(response.status_line, "HTTP/1.1 401 Unauthorized");
  EXPECT_THAT(response.header_lines,
              Contains("WWW-Authenticate: Basic realm=\"Chimewell\", charset=\"UTF-8\""));
  EXPECT_EQ(Ask("/?MUTE=1", Auth(kWrongCredentials), kRemote).status_line,
            "HTTP/1.1 401 Unauthorized");
  EXPECT_FALSE(app->Menu().Muted());

  response = Ask("/?MUTE=1", Auth(kGoodCredentials), kRemote);
  EXPECT_EQ(response.status_line, "HTTP/1.1 200 OK");
  EXPECT_TRUE(app->Menu().Muted());
  // The hash is never shown: not on the page, not in an answer.
  for (const auto& answer : {page, response}) {
    EXPECT_THAT(answer.body, Not(HasSubstr(hash.substr(hash.size() - 20))));
  }
}

TEST_F(AccessTest, OnlyThisMachineChangesThePasswordAndShortOnesAreRefused) {
  PostBaseForm("ACCESSPASSWORD=secret-pass-1");
  const std::string hash = ReadAccessPasswordHash(app->Paths().settings);
  // From another machine, even with the password: the whole form is refused.
  for (const std::string fields : {"ACCESSPASSWORD=other-pass-22", "ACCESSCLEAR=1"}) {
    const auto page = PostBaseForm("SPEAKOFFSET=900&" + fields, Auth(kGoodCredentials), kRemote);
    EXPECT_THAT(page.body, HasSubstr("コンピューターで開いた設定画面でだけ")) << fields;
    EXPECT_EQ(ReadAccessPasswordHash(app->Paths().settings), hash) << fields;
  }
  EXPECT_EQ(app->Config().SpeakOffset, 300);

  EXPECT_THAT(PostBaseForm("ACCESSPASSWORD=short").body, HasSubstr("8文字以上"));
  EXPECT_EQ(ReadAccessPasswordHash(app->Paths().settings), hash);
  // Removing it here shuts other machines out again.
  PostBaseForm("ACCESSCLEAR=1");
  EXPECT_EQ(ReadAccessPasswordHash(app->Paths().settings), "");
  EXPECT_EQ(Ask("/", Auth(kGoodCredentials), kRemote).status_line, "HTTP/1.1 403 Forbidden");
}

TEST_F(AccessTest, WrongPasswordsFromOneAddressAreLimitedToTenAMinute) {
  PostBaseForm("ACCESSPASSWORD=secret-pass-1");
  for (int i = 0; i < 10; ++i) {
    EXPECT_EQ(Ask("/", Auth(kWrongCredentials), kRemote).status_line, "HTTP/1.1 401 Unauthorized");
  }
  // Now not even the right password is looked at from there.
  const auto refused = Ask("/", Auth(kGoodCredentials), kRemote);
  EXPECT_EQ(refused.status_line, "HTTP/1.1 429 Too Many Requests");
  EXPECT_THAT(refused.header_lines, Contains("Retry-After: 6"));
  // Another address, and this machine, are not affected.
  EXPECT_EQ(Ask("/", Auth(kGoodCredentials), "127.0.0.3").status_line, "HTTP/1.1 200 OK");
  EXPECT_EQ(Ask("/").status_line, "HTTP/1.1 200 OK");
  // One more attempt every six seconds.
  clock.Advance(6000);
  EXPECT_EQ(Ask("/", Auth(kGoodCredentials), kRemote).status_line, "HTTP/1.1 200 OK");
}

}  // namespace
}  // namespace chimewell::testing
