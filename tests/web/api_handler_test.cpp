// The API on an application built on fakes, and the page's form for its keys.
#include "web/api_handler.h"

#include <gmock/gmock.h>

#include <nlohmann/json.hpp>

#include "core/api_token_list.h"
#include "web/api_tokens.h"
#include "web/handler_fixture.h"

namespace chimewell::testing {
namespace {

using nlohmann::json;
using ::testing::HasSubstr;

class ApiHandlerTest : public HandlerTest {
 protected:
  HttpResponseInfo Api(std::string command, const std::string& target, std::string body = {},
                       const char* type = "application/json") {
    HttpRequestInfo request = LocalScriptRequest(target);
    request.Command = std::move(command);
    if (!body.empty()) {
      request.Header.insert(request.Header.begin(), std::string("Content-Type: ") + type);
      request.Body = body;
      request.ParamList = DecodeParams(body);
    }
    HttpResponseInfo response;
    HandleApiRequest(*app, clock, request, response);
    return response;
  }
  static json Body(const HttpResponseInfo& response) { return json::parse(response.BodyText); }
};

TEST_F(ApiHandlerTest, SayAnswersItsNumberAndMomentAndTheQueueRefusesTheHundredAndFirst) {
  app->SetMuted(true);  // the worker speaks nothing while muted, so the queue only fills
  const HttpResponseInfo first = Api("POST", "/api/say", R"({"message":"一"})");
  EXPECT_EQ(first.StatusCode, 202);
  EXPECT_EQ(first.MimeType, "application/json; charset=utf-8");
  EXPECT_EQ(Body(first)["id"], 1);
  EXPECT_THAT(Body(first)["due"].get<std::string>(), HasSubstr("2026-12-07T11:00:00"));
  for (int i = 2; i <= 100; ++i) {
    ASSERT_EQ(Api("GET", "/api/say?message=m" + std::to_string(i)).StatusCode, 202) << i;
  }
  const HttpResponseInfo full = Api("GET", "/api/say?message=m101");
  EXPECT_EQ(full.StatusCode, 429);
  EXPECT_THAT(Body(full)["reason"].get<std::string>(), HasSubstr("100 件"));
  EXPECT_EQ(Body(Api("GET", "/api/status"))["queued"], 100);
}

TEST_F(ApiHandlerTest, StatusTimeAndMuteDoWhatTheMenuDoes) {
  const json status = Body(Api("GET", "/api/status"));
  for (const char* key : {"next", "muted", "paused", "quiet", "busy", "problems", "version"}) {
    EXPECT_TRUE(status.contains(key)) << key;
  }
  EXPECT_EQ(status["muted"], false);
  EXPECT_TRUE(status["problems"].is_array());

  EXPECT_EQ(Body(Api("POST", "/api/mute", R"({"muted":true})"))["muted"], true);
  EXPECT_TRUE(app->Menu().Muted());
  EXPECT_EQ(Api("POST", "/api/mute", "muted=off", "application/x-www-form-urlencoded").StatusCode,
            200);
  EXPECT_FALSE(app->Menu().Muted());
  EXPECT_EQ(Api("POST", "/api/mute", R"({"muted":"yes"})").StatusCode, 400);

  const size_t logged = LogLinesContaining("Thread ").size();
  EXPECT_EQ(Api("POST", "/api/time").StatusCode, 202);
  EXPECT_GT(LogLinesContaining("Thread ").size(), logged) << "the time was queued";

  // Changes take POST; unknown paths and methods are told apart.
  EXPECT_EQ(Api("GET", "/api/time").StatusCode, 405);
  EXPECT_EQ(Api("GET", "/api/mute?muted=true").StatusCode, 405);
  EXPECT_EQ(Api("POST", "/api/status").StatusCode, 405);
  EXPECT_EQ(Api("GET", "/api/nothing").StatusCode, 404);
}

TEST_F(ApiHandlerTest, APassedMomentIsRefusedAndAnEndingClockTakesNothing) {
  EXPECT_EQ(Api("GET", "/api/say?message=a&at=2026-12-07T10:00:00").StatusCode, 400);
  app->RequestExit();
  const HttpResponseInfo ending = Api("GET", "/api/say?message=a");
  EXPECT_EQ(ending.StatusCode, 503);
  EXPECT_EQ(Api("GET", "/api/status").StatusCode, 200);
}

TEST_F(ApiHandlerTest, ThePageMakesAKeyShownOnceStoresOnlyItsHashAndRemovesIt) {
  const std::string page = Get("/?APIKEYADD=1&APIKEYNAME=Home+Assistant");
  const size_t at = page.find("cw_");
  ASSERT_NE(at, std::string::npos) << page;
  const std::string secret = page.substr(at, 3 + 64);
  const auto stored = ReadApiTokens(app->Paths().settings);
  ASSERT_EQ(stored.size(), 1u);
  EXPECT_EQ(stored[0].name, "Home Assistant");
  EXPECT_EQ(stored[0].hash, HashApiToken(secret));
  EXPECT_FALSE(MatchesApiToken(stored, "cw_" + std::string(64, '0')));
  EXPECT_EQ(Get("/").find(secret), std::string::npos) << "shown once only";

  EXPECT_THAT(Get("/?APIKEYADD=1&APIKEYNAME=Home+Assistant"),
              HasSubstr("その名前のキーはもうあります"));
  EXPECT_THAT(Get("/?APIKEYADD=1&APIKEYNAME=+"), HasSubstr("キーの名前は"));
  EXPECT_EQ(ReadApiTokens(app->Paths().settings).size(), 1u) << "refusals keep the stored keys";

  // Another machine may not make one: the key would cross the network in the page.
  HttpRequestInfo remote = Request("/?APIKEYADD=1&APIKEYNAME=x");
  remote.LocalPeer = false;
  EXPECT_THAT(Send(remote), HasSubstr("時計を動かしているコンピューター"));

  EXPECT_THAT(Get("/?APIKEYDEL=Home+Assistant"), HasSubstr("削除しました"));
  EXPECT_TRUE(ReadApiTokens(app->Paths().settings).empty());
  EXPECT_THAT(Get("/?APIKEYDEL=Home+Assistant"), HasSubstr("その名前のキーはありません"));
}

TEST_F(ApiHandlerTest, TheMqttFormSavesGoodSettingsAndRefusesBadOnesKeepingWhatWasStored) {
  const std::string good =
      "/?MQTTSET=1&MQTTENABLED=1&MQTTENABLED=0&MQTTBROKER=mqtt%3A%2F%2Fha.local%3A1883"
      "&MQTTUSER=clock&MQTTPASSWORD=secret&MQTTNAME=kitchen";
  EXPECT_THAT(Get(good), HasSubstr("MQTT の設定を保存しました"));
  MqttSettings stored = app->Mqtt();
  EXPECT_TRUE(stored.Enabled);
  EXPECT_EQ(stored.Broker, "mqtt://ha.local:1883");
  EXPECT_EQ(stored.Password, "secret");
  EXPECT_EQ(stored.Name, "kitchen");

  // An empty password field keeps the stored one; off is off.
  Get("/?MQTTSET=1&MQTTENABLED=0&MQTTBROKER=mqtts%3A%2F%2Fha.local&MQTTNAME=kitchen");
  stored = app->Mqtt();
  EXPECT_FALSE(stored.Enabled);
  EXPECT_EQ(stored.Password, "secret");

  const struct {
    const char* query;
    const char* problem;
  } bad[] = {
      {"MQTTENABLED=1&MQTTBROKER=&MQTTNAME=kitchen", "ブローカーを指定"},
      {"MQTTENABLED=1&MQTTBROKER=http%3A%2F%2Fha&MQTTNAME=kitchen", "mqtt://"},
      {"MQTTENABLED=1&MQTTBROKER=mqtt%3A%2F%2Fha%3A99999&MQTTNAME=kitchen", "mqtt://"},
      {"MQTTENABLED=1&MQTTBROKER=mqtt%3A%2F%2Fha&MQTTNAME=Kitchen+1", "名前"},
  };
  for (const auto& c : bad) {
    EXPECT_THAT(Get(std::string("/?MQTTSET=1&") + c.query), HasSubstr(c.problem)) << c.query;
    EXPECT_EQ(app->Mqtt(), stored) << c.query;
  }
  HttpRequestInfo remote = Request(good);
  remote.LocalPeer = false;
  EXPECT_THAT(Send(remote), HasSubstr("時計を動かしているコンピューター"));
  EXPECT_EQ(app->Mqtt(), stored);
}

}  // namespace
}  // namespace chimewell::testing
