#include "web/http_request_parser.h"

#include <gtest/gtest.h>

#include <random>

#include "web/param_decoding.h"

namespace chimewell {
namespace {

RequestReadResult Parse(const std::string& bytes, size_t chunk = 4096, HttpLimits limits = {}) {
  StringByteSource source(bytes, chunk);
  BufferedReader reader(source);
  return ReadHttpRequest(reader, limits, "127.0.0.1");
}

HttpRequestInfo ParseOk(const std::string& bytes) {
  RequestReadResult result = Parse(bytes);
  EXPECT_TRUE(result.request.has_value()) << result.drop_reason;
  return result.request.value_or(HttpRequestInfo{});
}

TEST(RequestParser, GetWithQuery) {
  const auto r =
      ParseOk("GET /?BASESET=1&SPEAKOFFSET=300 HTTP/1.0\r\nHost: localhost:8080\r\n\r\n");
  EXPECT_EQ(r.Command, "GET");
  EXPECT_EQ(r.Document, "/");
  EXPECT_EQ(r.Version, "HTTP/1.0");
  EXPECT_EQ(r.UnparsedParams, "BASESET=1&SPEAKOFFSET=300");
  EXPECT_EQ(r.ParamList, (DecodedParams{"BASESET=1", "SPEAKOFFSET=300"}));
  EXPECT_EQ(r.Host, "localhost:8080");
  EXPECT_EQ(r.PeerAddress, "127.0.0.1");
  EXPECT_EQ(r.Header, (std::vector<std::string>{"Host: localhost:8080", ""}));
}

TEST(RequestParser, RequestLineSplitsAtLastSpaceThenFirstSpace) {
  // Spaces inside the target survive; the method is upper-cased; a bare LF ends lines too.
  auto r = ParseOk("get /a b?x=1 HTTP/1.1\n\n");
  EXPECT_EQ(r.Command, "GET");
  EXPECT_EQ(r.Document, "/a b");
  EXPECT_EQ(r.UnparsedParams, "x=1");
  // Only one carriage return before the line feed is dropped.
  r = ParseOk("HEAD /%41 HTTP/1.1\r\r\n\r\n");
  EXPECT_EQ(r.Command, "HEAD");
  EXPECT_EQ(r.Document, "/%41");  // not percent-decoded
  EXPECT_EQ(r.Version, "HTTP/1.1\r");
  // A method with no target at all.
  r = ParseOk("GET HTTP/1.1\r\n\r\n");
  EXPECT_EQ(r.Document, "");
  // A "?" with nothing after it adds nothing.
  r = ParseOk("GET /? HTTP/1.1\r\n\r\n");
  EXPECT_EQ(r.UnparsedParams, "");
  EXPECT_TRUE(r.ParamList.empty());
}

TEST(RequestParser, DropsLinesWithoutSpaceAndOtherMethods) {
  EXPECT_EQ(Parse("GET/\r\n\r\n").drop_reason, "Error in parsing command.");
  EXPECT_FALSE(Parse("\r\n\r\n").request);
  EXPECT_FALSE(Parse("PUT / HTTP/1.1\r\n\r\n").request);
  EXPECT_FALSE(Parse("DELETE / HTTP/1.1\r\n\r\n").request);
  EXPECT_FALSE(Parse("OPTIONS * HTTP/1.1\r\n\r\n").request);
  // The peer closing before the headers end is no request either.
  EXPECT_FALSE(Parse("GET / HTTP/1.1\r\nHost: x\r\n").request);
  EXPECT_FALSE(Parse("GET / HTTP/1.1").request);
}

TEST(RequestParser, AbsoluteAndAsteriskTargets) {
  auto r = ParseOk("GET http://example.test:8080/page?a=1 HTTP/1.1\r\n\r\n");
  EXPECT_EQ(r.Document, "/page");
  EXPECT_EQ(r.Host, "example.test:8080");
  EXPECT_EQ(r.UnparsedParams, "a=1");
  r = ParseOk("GET http://example.test HTTP/1.1\r\nHost: other\r\n\r\n");
  EXPECT_EQ(r.Document, "/");
  EXPECT_EQ(r.Host, "other");  // the Host header wins when present
  r = ParseOk("GET * HTTP/1.1\r\n\r\n");
  EXPECT_EQ(r.Document, "*");
}

TEST(RequestParser, HeadersEndAtALineBlankAfterTrimmingControls) {
  const auto r = ParseOk("GET / HTTP/1.1\r\nA: 1\r\nbroken line\r\n \t\x01\r\nB: 2\r\n\r\n");
  EXPECT_EQ(r.Header, (std::vector<std::string>{"A: 1", "broken line", " \t\x01"}));
}

TEST(RequestParser, BodyByContentLengthThenQueryAfterCrLf) {
  const auto r = ParseOk("POST /?B=2 HTTP/1.1\r\nContent-Length: 3\r\n\r\nA=1");
  EXPECT_EQ(r.UnparsedParams, "A=1\r\nB=2");
  EXPECT_EQ(GetParam(r.ParamList, "A"), "1\r\nB=2");
  EXPECT_EQ(GetParam(r.ParamList, "B"), "");
}

TEST(RequestParser, BodyRules) {
  // Only the declared length is read; the rest is ignored.
  EXPECT_EQ(ParseOk("POST / HTTP/1.1\r\ncontent-length:  2 \r\n\r\nA=1").UnparsedParams, "A=");
  // GET with a body reads it too.
  EXPECT_EQ(ParseOk("GET / HTTP/1.1\r\nContent-Length: 3\r\n\r\nx=1").UnparsedParams, "x=1");
  // POST without a usable length reads until the peer closes.
  EXPECT_EQ(ParseOk("POST / HTTP/1.1\r\n\r\nA=1&B=2").UnparsedParams, "A=1&B=2");
  EXPECT_EQ(ParseOk("POST / HTTP/1.1\r\nContent-Length: abc\r\n\r\nA=1").UnparsedParams, "A=1");
  EXPECT_EQ(ParseOk("POST / HTTP/1.1\r\nContent-Length: -4\r\n\r\nA=1").UnparsedParams, "A=1");
  // GET without a length reads no body.
  EXPECT_EQ(ParseOk("GET / HTTP/1.1\r\n\r\nA=1").UnparsedParams, "");
  // A body shorter than declared is a broken request.
  EXPECT_FALSE(Parse("POST / HTTP/1.1\r\nContent-Length: 10\r\n\r\nA=1").request);
}

TEST(RequestParser, BasicCredentialsAndOtherSchemes) {
  auto r = ParseOk("GET / HTTP/1.1\r\nAuthorization: basic dXNlcjpwYTpzcw==\r\n\r\n");
  EXPECT_EQ(r.UserName, "user");
  EXPECT_EQ(r.Password, "pa:ss");
  EXPECT_EQ(ParseOk("GET / HTTP/1.1\r\nAuthorization: Bearer  abc \r\n\r\n").BearerToken, "abc");
  EXPECT_EQ(Parse("GET / HTTP/1.1\r\nAuthorization: Digest abc\r\n\r\n").drop_reason,
            "Unsupported authorization scheme.");
}

TEST(RequestParser, LimitsCloseWithoutResponse) {
  const std::string line_8k(8 * 1024 - 14, 'a');  // "GET /" + it + " HTTP/1.1" = 8 KiB
  EXPECT_TRUE(Parse("GET /" + line_8k + " HTTP/1.1\r\n\r\n").request);
  EXPECT_FALSE(Parse("GET /" + line_8k + "a HTTP/1.1\r\n\r\n").request);
  // An endless line is refused without waiting for its end.
  EXPECT_FALSE(Parse("GET /" + std::string(100'000, 'a')).request);

  const std::string long_header = "X: " + std::string(8 * 1024 - 3, 'b') + "\r\n";
  EXPECT_TRUE(Parse("GET / HTTP/1.1\r\n" + long_header + "\r\n").request);
  EXPECT_FALSE(Parse("GET / HTTP/1.1\r\nX: b" + long_header + "\r\n").request);

  std::string many;  // 9 lines of 8 KiB: each fits, together they pass 64 KiB
  for (int i = 0; i < 9; ++i) many += long_header;
  EXPECT_FALSE(Parse("GET / HTTP/1.1\r\n" + many + "\r\n").request);

  const std::string mib(1024 * 1024, 'c');
  EXPECT_TRUE(Parse("POST / HTTP/1.1\r\nContent-Length: 1048576\r\n\r\n" + mib).request);
  EXPECT_FALSE(Parse("POST / HTTP/1.1\r\nContent-Length: 1048577\r\n\r\n" + mib + "c").request);
  EXPECT_FALSE(Parse("POST / HTTP/1.1\r\nContent-Length: 99999999999999999999\r\n\r\n").request);
  EXPECT_FALSE(Parse("POST / HTTP/1.1\r\n\r\n" + mib + "c").request);
}

TEST(RequestParser, SplitReadsGiveTheSameRequest) {
  const std::string bytes = "POST /x?q=%41 HTTP/1.1\r\nHost: h\r\nContent-Length: 7\r\n\r\nA=1&B=2";
  for (size_t chunk : {1u, 2u, 3u, 7u, 64u}) {
    const auto r = Parse(bytes, chunk);
    ASSERT_TRUE(r.request) << chunk;
    EXPECT_EQ(r.request->ParamList, (DecodedParams{"A=1", "B=2\r\nq=A"})) << chunk;
    EXPECT_EQ(r.request->Document, "/x");
  }
}

// Random bytes and mutations of valid requests: the parser must end every time without a crash
// (the sanitizers watch memory), and whatever it accepts must be self-consistent.
TEST(RequestParser, SurvivesRandomAndMutatedInput) {
  const std::vector<std::string> seeds = {
      "GET /?a=1&b=%41%zz%4 HTTP/1.1\r\nHost: h\r\n\r\n",
      "POST http://h:1/p?x HTTP/1.0\r\nContent-Length: 5\r\nAuthorization: Basic YTpi\r\n\r\nA=1&B",
      "HEAD * HTTP/1.1\n\n",
      "POST / HTTP/1.1\r\n\r\nbody+%",
  };
  const std::string alphabet = " \r\n:%&=?+/*-0123456789aAfFzZ\t\x01\xff";
  std::mt19937 rng(12345);
  HttpLimits small;
  small.max_line_bytes = 64;
  small.max_header_bytes = 256;
  small.max_body_bytes = 128;
  for (int round = 0; round < 20'000; ++round) {
    std::string bytes;
    if (round % 4 == 0) {
      const size_t length = rng() % 200;
      for (size_t i = 0; i < length; ++i) bytes += static_cast<char>(rng() % 256);
    } else {
      bytes = seeds[rng() % seeds.size()];
      const int edits = 1 + static_cast<int>(rng() % 6);
      for (int e = 0; e < edits && !bytes.empty(); ++e) {
        const size_t at = rng() % bytes.size();
        const char c = alphabet[rng() % alphabet.size()];
        switch (rng() % 3) {
          case 0:
            bytes[at] = c;
            break;
          case 1:
            bytes.insert(bytes.begin() + static_cast<long>(at), c);
            break;
          default:
            bytes.erase(at, 1 + rng() % 8);
            break;
        }
      }
    }
    const auto limits = (round % 2) ? small : HttpLimits{};
    const auto result = Parse(bytes, 1 + rng() % 16, limits);
    if (result.request) {
      const auto& r = *result.request;
      EXPECT_TRUE(r.Command == "GET" || r.Command == "POST" || r.Command == "HEAD") << bytes;
      EXPECT_LE(r.UnparsedParams.size(), limits.max_body_bytes + limits.max_line_bytes + 2);
      ASSERT_FALSE(r.Header.empty());
    } else {
      EXPECT_FALSE(result.drop_reason.empty());
    }
  }
}

}  // namespace
}  // namespace chimewell
