// What the API reads from a request, and who may send one: table-driven over the forms Home
// Assistant and scripts send, and over the ways a request can be wrong.
#include <gmock/gmock.h>

#include "core/local_time.h"
#include "web/api_gate.h"
#include "web/api_say_request.h"
#include "web/api_tokens.h"
#include "web/param_decoding.h"

namespace chimewell::testing {
namespace {

const WallMoment kNow = WallMoment::FromUnixMs(1'796'000'000'000);

HttpRequestInfo Request(std::string command, std::string target, std::string body = {},
                        std::vector<std::string> headers = {}) {
  HttpRequestInfo r;
  r.Command = std::move(command);
  const size_t query = target.find('?');
  r.Document = target.substr(0, query);
  r.Body = body;
  r.UnparsedParams = body;
  if (query != std::string::npos) {
    if (!r.UnparsedParams.empty()) r.UnparsedParams += "\r\n";
    r.UnparsedParams += target.substr(query + 1);
  }
  r.ParamList = DecodeParams(r.UnparsedParams);
  r.Header = std::move(headers);
  r.Header.push_back("Host: localhost:8123");
  r.Host = "localhost:8123";
  r.PeerAddress = "127.0.0.1";
  r.LocalPeer = true;
  return r;
}

const std::string kJson = "Content-Type: application/json";
const std::string kForm = "Content-Type: application/x-www-form-urlencoded";

TEST(ApiSayRequest, ReadsEachFormNotifyRestSends) {
  const struct {
    const char* what;
    HttpRequestInfo request;
    const char* spoken;
    std::optional<int> volume;
  } cases[] = {
      {"GET query",
       Request("GET",
               "/api/"
               "say?message=%E6%B4%97%E6%BF%AF%E3%81%8C%E7%B5%82%E3%82%8F%E3%82%8A%E3%81%BE%E3%81%"
               "97%E3%81%9F"),
       "洗濯が終わりました", std::nullopt},
      {"form with title",
       Request("POST", "/api/say", "message=%E6%9D%A5%E5%AE%A2&title=%E7%8E%84%E9%96%A2", {kForm}),
       "玄関。来客", std::nullopt},
      {"JSON with volume",
       Request("POST", "/api/say", R"({"message":"会議です","volume":40,"target":["x"]})", {kJson}),
       "会議です", 40},
      {"JSON with a null title",
       Request("POST", "/api/say", R"({"message":"a","title":null})", {kJson + "; charset=utf-8"}),
       "a", std::nullopt},
      {"line breaks become blanks",
       Request("POST", "/api/say", "{\"message\":\"一行目\\n二行目\"}", {kJson}), "一行目 二行目",
       std::nullopt},
      {"form without a type", Request("POST", "/api/say", "message=hello"), "hello", std::nullopt},
  };
  for (const auto& c : cases) {
    const SayParse parse = ParseSayRequest(c.request, kNow);
    ASSERT_TRUE(parse.request) << c.what << ": " << parse.error.reason;
    EXPECT_EQ(parse.request->SpokenText(), c.spoken) << c.what;
    EXPECT_EQ(parse.request->volume, c.volume) << c.what;
  }
}

TEST(ApiSayRequest, RefusesWhatIsWrongWithAStatusAndAReason) {
  std::string thousand_and_one;
  for (int i = 0; i < 1001; ++i) thousand_and_one += "あ";
  const struct {
    const char* what;
    HttpRequestInfo request;
    int status;
  } cases[] = {
      {"no message", Request("GET", "/api/say?title=x"), 400},
      {"blank message", Request("GET", "/api/say?message=+++"), 400},
      {"JSON without its type", Request("POST", "/api/say", R"({"message":"a"})"), 400},
      {"another type", Request("POST", "/api/say", "a", {"Content-Type: text/plain"}), 400},
      {"broken JSON", Request("POST", "/api/say", R"({"message":"a")", {kJson}), 400},
      {"JSON array", Request("POST", "/api/say", R"(["a"])", {kJson}), 400},
      {"message a number", Request("POST", "/api/say", R"({"message":5})", {kJson}), 400},
      {"title an object", Request("POST", "/api/say", R"({"message":"a","title":{}})", {kJson}),
       400},
      {"volume 0", Request("GET", "/api/say?message=a&volume=0"), 400},
      {"volume 101", Request("POST", "/api/say", R"({"message":"a","volume":101})", {kJson}), 400},
      {"volume a word", Request("GET", "/api/say?message=a&volume=loud"), 400},
      {"volume a fraction", Request("POST", "/api/say", R"({"message":"a","volume":5.5})", {kJson}),
       400},
      {"zones not a list", Request("POST", "/api/say", R"({"message":"a","zones":"x"})", {kJson}),
       400},
      {"bad moment", Request("GET", "/api/say?message=a&at=tomorrow"), 400},
      {"not UTF-8 in a form", Request("GET", "/api/say?message=%82%A0"), 400},
      {"not UTF-8 in JSON", Request("POST", "/api/say", "{\"message\":\"\x82\xA0\"}", {kJson}),
       400},
      {"1,001 characters",
       Request("POST", "/api/say", "{\"message\":\"" + thousand_and_one + "\"}", {kJson}), 413},
      {"body over 16 KiB", Request("POST", "/api/say", std::string(17 * 1024, ' '), {kJson}), 413},
  };
  for (const auto& c : cases) {
    const SayParse parse = ParseSayRequest(c.request, kNow);
    EXPECT_FALSE(parse.request) << c.what;
    EXPECT_EQ(parse.error.status, c.status) << c.what;
    EXPECT_FALSE(parse.error.reason.empty()) << c.what;
  }
  std::string thousand = thousand_and_one.substr(3);
  EXPECT_TRUE(ParseSayRequest(
                  Request("POST", "/api/say", "{\"message\":\"" + thousand + "\"}", {kJson}), kNow)
                  .request)
      << "exactly 1,000 characters are taken";
}

TEST(ApiSayRequest, AMomentWithAnOffsetIsThatMomentAndOneWithoutIsLocal) {
  const auto with_offset =
      ParseSayRequest(Request("GET", "/api/say?message=a&at=2026-12-07T11:00:30%2B09:00"), kNow);
  ASSERT_TRUE(with_offset.request && with_offset.request->at);
  EXPECT_EQ(with_offset.request->at->UnixMs(), 1'796'608'830'000);
  const auto local =
      ParseSayRequest(Request("GET", "/api/say?message=a&at=2026-12-07+11:00"), kNow);
  ASSERT_TRUE(local.request && local.request->at);
  EXPECT_EQ(LocalOf(*local.request->at), *TryEncodeDateTime({2026, 12, 7, 11, 0, 0, 0}));
}

class ApiAccess : public ::testing::Test {
 protected:
  std::optional<ApiError> Check(const HttpRequestInfo& request) {
    ++checks;
    return CheckApiAccess(request, [&] {
      ++reads;
      return tokens;
    });
  }
  static HttpRequestInfo Remote(std::string bearer = {}) {
    HttpRequestInfo r = Request("POST", "/api/say");
    r.PeerAddress = "192.0.2.7";
    r.LocalPeer = false;
    r.Host = "192.0.2.1:8123";
    r.BearerToken = std::move(bearer);
    return r;
  }
  std::vector<ApiTokenRecord> tokens;
  int checks = 0;
  int reads = 0;
};

TEST_F(ApiAccess, ThisMachineNeedsNoKeyButABrowserSentForAnotherSiteIsRefused) {
  EXPECT_EQ(Check(Request("POST", "/api/say")), std::nullopt);
  EXPECT_EQ(reads, 0) << "no key is read for a script on this machine";
  const struct {
    const char* what;
    std::vector<std::string> headers;
    int status;
  } cases[] = {
      {"other origin", {"Origin: http://evil.example"}, 403},
      {"origin null", {"Origin: null"}, 403},
      {"cross-site fetch", {"Sec-Fetch-Site: cross-site"}, 403},
      {"same-site fetch", {"Sec-Fetch-Site: same-site"}, 403},
      {"image on another page", {"Referer: http://evil.example/page"}, 403},
  };
  for (const auto& c : cases) {
    const auto refusal = Check(Request("GET", "/api/say?message=a", {}, c.headers));
    ASSERT_TRUE(refusal) << c.what;
    EXPECT_EQ(refusal->status, c.status) << c.what;
  }
  EXPECT_EQ(Check(Request("POST", "/api/say", {}, {"Origin: http://localhost:8123"})),
            std::nullopt);

  HttpRequestInfo rebound = Request("POST", "/api/say");
  rebound.Host = "attacker.example:8123";
  ASSERT_TRUE(Check(rebound));
  EXPECT_EQ(Check(rebound)->status, 403);
}

TEST_F(ApiAccess, OtherMachinesNeedAKeyMadeOnThePage) {
  ASSERT_TRUE(Check(Remote()));
  EXPECT_EQ(Check(Remote())->status, 401) << "no key";
  EXPECT_EQ(Check(Remote("cw_guess"))->status, 401) << "while none exists";
  const NewApiToken made = MakeApiToken();
  const NewApiToken other = MakeApiToken();
  EXPECT_NE(made.secret, other.secret);
  EXPECT_EQ(made.hash.find(made.secret), std::string::npos) << "the key itself is never stored";
  tokens = {{"ha", other.hash}, {"script", made.hash}};
  EXPECT_EQ(Check(Remote(made.secret)), std::nullopt);
  EXPECT_EQ(Check(Remote(made.secret + "x"))->status, 401);
  EXPECT_EQ(Check(Remote(std::string(100'000, 'a')))->status, 401);
  // A key does not let another site's page in.
  HttpRequestInfo cross = Remote(made.secret);
  cross.Header.push_back("Sec-Fetch-Site: cross-site");
  EXPECT_EQ(Check(cross)->status, 403);
  // This machine under its network name is another client as far as keys go.
  HttpRequestInfo lan = Remote();
  lan.PeerAddress = "127.0.0.1";
  EXPECT_EQ(Check(lan)->status, 401);
}

}  // namespace
}  // namespace chimewell::testing
