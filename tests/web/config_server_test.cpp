// The configuration server end to end: a real loopback socket, the real server and handler,
// and an application on fakes.
#include <gmock/gmock.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "core/settings_store.h"
#include "playback/fakes/gated_ui_thread.h"
#include "web/handler_fixture.h"
#include "web/listening_socket.h"
#include "web/loopback_client.h"
#include "web/web_config_server.h"

namespace chimewell::testing {
namespace {

using ::testing::HasSubstr;
using ::testing::StartsWith;

class ConfigServerTest : public HandlerTest {
 protected:
  void TearDown() override { server.reset(); }
  void StartServer(UiThread& ui_thread, HttpLimits limits = {}) {
    server = std::make_unique<WebConfigServer>(ui_thread, PageServices{fonts, files, clock, speech},
                                               limits);
    server->Attach(*app);
    server->BuildPageCache();
    std::string error;
    ASSERT_TRUE(server->Listen(0, error)) << error;
  }
  std::unique_ptr<WebConfigServer> server;
};

TEST_F(ConfigServerTest, AFormSentOverTheSocketChangesTheApplicationAndGetsThePage) {
  StartServer(ui);
  const ParsedResponse response = ParseResponse(Exchange(
      static_cast<uint16_t>(server->Port()), "GET /?MUTE=1 HTTP/1.1\r\nHost: localhost\r\n\r\n"));
  EXPECT_EQ(response.status_line, "HTTP/1.1 200 OK");
  EXPECT_THAT(response.body, HasSubstr("MUTE[消音を解除する]"));
  EXPECT_TRUE(app->Menu().Muted());
}

TEST_F(ConfigServerTest, ATakenPortIsReportedAndAnotherPortWorks) {
  StartServer(ui);
  WebConfigServer second(ui, PageServices{fonts, files, clock, speech});
  second.Attach(*app);
  std::string error;
  EXPECT_FALSE(second.Listen(server->Port(), error));
  EXPECT_EQ(error, kBindInUseText);
  EXPECT_TRUE(second.Listen(0, error));
  EXPECT_THAT(Exchange(static_cast<uint16_t>(second.Port()), "GET / HTTP/1.0\r\n\r\n"),
              StartsWith("HTTP/1.1 200 OK"));
}

// A request waiting for the UI thread must not hold up a stop made on the UI thread: the
// request is let go, and the stop returns long before its wait for connections would end.
TEST_F(ConfigServerTest, StoppingOnTheUiThreadReleasesARequestWaitingForIt) {
  GatedUiThread gated;
  HttpLimits limits;
  limits.stop_wait_ms = 60'000;
  StartServer(gated, limits);
  gated.Gate(true);
  LoopbackClient client(static_cast<uint16_t>(server->Port()));
  ASSERT_TRUE(client.Send("GET /?PAUSE=1 HTTP/1.0\r\n\r\n"));
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (gated.Held() == 0 && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  ASSERT_EQ(gated.Held(), 1u);

  const auto before = std::chrono::steady_clock::now();
  server->Stop();
  EXPECT_LT(std::chrono::steady_clock::now() - before, std::chrono::seconds(30));
  bool closed = false;
  client.ReadToClose(20'000, &closed);
  EXPECT_TRUE(closed);
  // The step that was never started stays undone.
  gated.RunHeld();
  EXPECT_FALSE(app->Menu().Paused());
}

TEST_F(ConfigServerTest, ATakenPortAtStartIsTriedAgainAndAPanelMoveToATakenPortKeepsThePage) {
  // A port the settings can name (they allow 1..32766) that something else holds.
  int taken = -1;
  uint16_t port = 20000;
  for (std::string error; taken < 0 && port < 32000; ++port) {
    taken = OpenListeningSocket(port, 1, error);
  }
  ASSERT_GE(taken, 0);
  --port;
  WriteFile("chimewell.ini", "[App]\r\nPortNumber=" + std::to_string(port) + "\r\n");
  WebConfigServer web(ui, PageServices{fonts, files, clock, speech});
  app.reset();
  app = std::make_unique<Application>(AppDependencies{clock, timer, ui, shell, files, sound, speech,
                                                      midi, fonts, view, &web,
                                                      PathsInHome(dir.path().string())});
  web.Attach(*app);
  app->FormCreate();
  app->FormShow();
  timer.FireNow();  // the deferred start-up goes on without the page
  const std::string waiting = "ポート " + std::to_string(port) + " は他のプログラムが使っています。";
  EXPECT_THAT(view.panel_text, HasSubstr(waiting + "空くまで数秒おきに試します"));
  EXPECT_EQ(web.Port(), 0);
  EXPECT_TRUE(timer.Enabled());

  // Still taken: tried again after the pause, quietly.
  clock.Advance(3000);
  timer.FireNow();
  EXPECT_EQ(web.Port(), 0);
  close(taken);
  clock.Advance(3000);
  timer.FireNow();
  EXPECT_EQ(web.Port(), port);
  // The font lists were built by the deferred start-up.
  EXPECT_THAT(Exchange(port, "GET / HTTP/1.0\r\n\r\n"),
              HasSubstr("<OPTION value=\"IPAGothic\">IPAGothic(type:4)</OPTION>"));

  // Moving to a port that is taken leaves the page, the setting and the panel's number alone.
  std::string error;
  const int other = OpenListeningSocket(0, 1, error);
  ASSERT_GE(other, 0);
  const uint16_t other_port = LocalPortOf(other);
  view.port_edit = std::to_string(other_port);
  app->PortButtonClick();
  EXPECT_THAT(view.panel_text, HasSubstr("ポート " + std::to_string(other_port) +
                                         " は他のプログラムが使っています。" +
                                         std::to_string(port) + " のままです"));
  EXPECT_EQ(view.port_edit, std::to_string(port));
  EXPECT_EQ(web.Port(), port);
  EXPECT_THAT(Exchange(port, "GET / HTTP/1.0\r\n\r\n"), StartsWith("HTTP/1.1 200 OK"));
  EXPECT_EQ(ReadStartupSettings(dir / "chimewell.ini").app.PortNumber, port);
  close(other);
  web.Stop();
}

}  // namespace
}  // namespace chimewell::testing
