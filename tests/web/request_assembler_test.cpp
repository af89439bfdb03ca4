#include "web/request_assembler.h"

#include <gtest/gtest.h>

namespace chimewell {
namespace {

using State = RequestAssembler::State;

HttpLimits SmallLimits() {
  HttpLimits limits;
  limits.max_line_bytes = 64;
  limits.max_header_bytes = 128;
  limits.max_body_bytes = 100;
  return limits;
}

// What the parser makes of the bytes when it reads them all from one stream, ending there.
RequestReadResult ParsedAtOnce(const std::string& bytes, const HttpLimits& limits) {
  StringByteSource source(bytes);
  BufferedReader reader(source);
  return ReadHttpRequest(reader, limits, "peer");
}

// Fed in pieces of `piece` bytes, then the peer closes (when `close` is set).
RequestReadResult Assembled(const std::string& bytes, const HttpLimits& limits, size_t piece,
                            bool close) {
  RequestAssembler assembler(limits, "peer");
  for (size_t at = 0; at < bytes.size(); at += piece) {
    const State state = assembler.Add(std::string_view(bytes).substr(at, piece));
    if (state == State::kDone || state == State::kDropped) return assembler.Take();
  }
  if (close) assembler.PeerClosed();
  if (assembler.Current() != State::kDone && assembler.Current() != State::kDropped) {
    return {std::nullopt, "still waiting"};
  }
  return assembler.Take();
}

// However the bytes are cut, the connection ends in what the parser says of the whole: the
// same request, or the same reason to drop it, and never earlier or later than it can tell.
TEST(RequestAssembler, AgreesWithTheParserHoweverTheBytesArrive) {
  const HttpLimits limits = SmallLimits();
  const std::vector<std::string> requests = {
      "GET /?A=1 HTTP/1.1\r\nHost: localhost\r\n\r\n",
      "GET / HTTP/1.0\n\n",
      "get /x HTTP/1.1\r\nX: 1\r\n \t\r\nignored after the head",
      "POST /?B=2 HTTP/1.1\r\nContent-Length: 3\r\n\r\nA=1trailing",
      "POST / HTTP/1.1\r\nContent-Length: 0\r\n\r\n",
      "HEAD / HTTP/1.1\r\nAuthorization: Basic dTpw\r\n\r\n",
      "GET/\r\n",                                        // no space in the request line
      "PUT / HTTP/1.1\r\n",                              // refused before any header
      "GET /" + std::string(80, 'a') + " HTTP/1.1\r\n",  // request line too long
      "GET / HTTP/1.1\r\nX: " + std::string(70, 'b'),    // header line too long, unfinished
      "GET / HTTP/1.1\r\nA: " + std::string(50, 'c') + "\r\nB: " + std::string(50, 'd') +
          "\r\nC: " + std::string(50, 'e') + "\r\n",     // headers too long together
      "POST / HTTP/1.1\r\nContent-Length: 101\r\n\r\n",  // body too long, said in advance
      "GET / HTTP/1.1\r\nAuthorization: Digest x\r\n\r\n",
  };
  for (const std::string& bytes : requests) {
    const RequestReadResult expected = ParsedAtOnce(bytes, limits);
    for (const size_t piece : {size_t{1}, size_t{7}, bytes.size()}) {
      const RequestReadResult got = Assembled(bytes, limits, piece, /*close=*/false);
      SCOPED_TRACE(bytes + " in pieces of " + std::to_string(piece));
      ASSERT_EQ(got.request.has_value(), expected.request.has_value()) << got.drop_reason;
      if (!expected.request) {
        EXPECT_EQ(got.drop_reason, expected.drop_reason);
        continue;
      }
      EXPECT_EQ(got.request->Command, expected.request->Command);
      EXPECT_EQ(got.request->Document, expected.request->Document);
      EXPECT_EQ(got.request->Header, expected.request->Header);
      EXPECT_EQ(got.request->UnparsedParams, expected.request->UnparsedParams);
      EXPECT_EQ(got.request->Password, expected.request->Password);
    }
  }
}

TEST(RequestAssembler, ABodyUntilCloseEndsWithThePeerOrItsLimit) {
  const HttpLimits limits = SmallLimits();
  const std::string head = "POST / HTTP/1.1\r\n\r\n";
  const RequestReadResult done = Assembled(head + "A=1", limits, 2, /*close=*/true);
  ASSERT_TRUE(done.request);
  EXPECT_EQ(done.request->UnparsedParams, "A=1");
  // Still open: the body may go on.
  EXPECT_EQ(Assembled(head + "A=1", limits, 2, false).drop_reason, "still waiting");
  EXPECT_EQ(Assembled(head + std::string(101, 'x'), limits, 10, false).drop_reason,
            "Request body too long.");
  // A peer that leaves in the middle of the head or of a counted body gets nothing.
  EXPECT_FALSE(Assembled("GET / HTTP/1.1\r\nHost: x", limits, 3, true).request);
  EXPECT_FALSE(
      Assembled("POST / HTTP/1.1\r\nContent-Length: 9\r\n\r\nA=1", limits, 3, true).request);
}

TEST(RequestAssembler, ReleasesItsBytesOnceDone) {
  RequestAssembler assembler(SmallLimits(), "peer");
  EXPECT_EQ(assembler.Add("GET / HTTP/1.1\r\nHo"), State::kHead);
  EXPECT_GT(assembler.Held(), 0u);
  EXPECT_EQ(assembler.Add("st: a\r\n\r\n"), State::kDone);
  EXPECT_EQ(assembler.Held(), 0u);
  EXPECT_EQ(assembler.Take().request->Host, "a");
}

}  // namespace
}  // namespace chimewell
