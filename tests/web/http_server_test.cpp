#include "web/http_server.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <stdexcept>
#include <system_error>
#include <thread>

#include "version.h"
#include "web/listening_socket.h"
#include "web/loopback_client.h"
#include "web/param_decoding.h"

namespace chimewell {
namespace {

using testing::Exchange;
using testing::LoopbackClient;
using testing::ParseResponse;

// Shows the handler what it received: one line per field, then the decoded parameters.
void EchoHandler(const HttpRequestInfo& request, HttpResponseInfo& response) {
  std::string body = request.Command + "|" + request.Document + "|" + request.UnparsedParams;
  for (const auto& line : request.ParamList) body.append("\n").append(line);
  response.BodyText = body;
}

HttpLimits TestLimits(int stage_timeout_ms = 2'000) {
  HttpLimits limits;
  limits.head_timeout_ms = limits.body_timeout_ms = limits.send_timeout_ms = stage_timeout_ms;
  limits.stop_wait_ms = 2'000;
  return limits;
}

// Polls `done` for up to 5 s; for states another thread reaches shortly.
template <typename F>
bool Eventually(F done) {
  for (int i = 0; i < 500; ++i) {
    if (done()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return done();
}

class HttpServerTest : public ::testing::Test {
 protected:
  void StartWith(HttpServer::CommandGetHandler handler, HttpLimits limits = TestLimits()) {
    server_ = std::make_unique<HttpServer>(std::move(handler), limits);
    server_->SetErrorCallback([this](const std::string& text) { errors_.push_back(text); });
    ASSERT_TRUE(server_->Start(0));
    port_ = server_->Port();
    ASSERT_NE(port_, 0);
  }

  std::unique_ptr<HttpServer> server_;
  std::vector<std::string> errors_;
  uint16_t port_ = 0;
};

TEST_F(HttpServerTest, PlainGetHasExactlyItsHeaderLinesInOrderAndCloses) {
  StartWith(EchoHandler);
  LoopbackClient client(port_);
  ASSERT_TRUE(client.Send("GET /?BASESET=1&SPEAKOFFSET=300 HTTP/1.0\r\n\r\n"));
  bool closed = false;
  const auto response = ParseResponse(client.ReadToClose(5000, &closed));
  EXPECT_TRUE(closed);
  const std::string body = "GET|/|BASESET=1&SPEAKOFFSET=300\nBASESET=1\nSPEAKOFFSET=300";
  EXPECT_EQ(response.status_line, "HTTP/1.1 200 OK");
  EXPECT_EQ(response.header_lines,
            (std::vector<std::string>{
                std::string("Server: Chimewell/") + kVersionText, "Content-Type: text/html",
                "Content-Length: " + std::to_string(body.size()), "Connection: close"}));
  EXPECT_EQ(response.body, body);
}

TEST_F(HttpServerTest, DecodesParametersAndMergesPostBodyWithQuery) {
  StartWith([](const HttpRequestInfo& request, HttpResponseInfo& response) {
    response.BodyText = "[" + GetParam(request.ParamList, "A") + "][" +
                        GetParam(request.ParamList, "schEadd") + "][" +
                        GetParam(request.ParamList, "a") + "]";
  });
  auto response =
      ParseResponse(Exchange(port_, "POST /?B=2 HTTP/1.1\r\nContent-Length: 3\r\n\r\nA=1"));
  EXPECT_EQ(response.body, "[1\r\nB=2][][1\r\nB=2]");
  response = ParseResponse(Exchange(port_, "GET /?SCHEADD=1&a=x%2By+z&a=2 HTTP/1.1\r\n\r\n"));
  EXPECT_EQ(response.body, "[x+y z][1][x+y z]");
  // A POST without a length is read until the client stops sending.
  LoopbackClient client(port_);
  ASSERT_TRUE(client.Send("POST / HTTP/1.1\r\n\r\nA=%41%00"));
  client.FinishSending();
  EXPECT_EQ(ParseResponse(client.ReadToClose(5000)).body, "[A][][A]");
}

TEST_F(HttpServerTest, HandlerReceivesRawHeaderLinesPeerAndHost) {
  StartWith([](const HttpRequestInfo& request, HttpResponseInfo& response) {
    response.BodyText = request.PeerAddress + (request.LocalPeer ? " (here)|" : "|") +
                        request.Host + "|" + request.Version + "|" + request.UserName + ":" +
                        request.Password;
    for (const auto& line : request.Header) response.BodyText += "\n[" + line + "]";
  });
  const auto response = ParseResponse(
      Exchange(port_,
               "GET / HTTP/1.1\r\nHost: localhost:8080\r\nAuthorization: Basic dTpw\r\n"
               "X-Odd:  spaced \r\n\r\n"));
  EXPECT_EQ(response.body,
            "127.0.0.1 (here)|localhost:8080|HTTP/1.1|u:p\n[Host: localhost:8080]\n"
            "[Authorization: Basic dTpw]\n[X-Odd:  spaced ]\n[]");
}

TEST_F(HttpServerTest, HeadIsAnsweredLikeGetWithItsBody) {
  StartWith(EchoHandler);
  const auto response = ParseResponse(Exchange(port_, "HEAD /x HTTP/1.1\r\n\r\n"));
  EXPECT_EQ(response.status_line, "HTTP/1.1 200 OK");
  EXPECT_EQ(response.body, "HEAD|/x|");
}

TEST_F(HttpServerTest, MalformedOrUnsupportedRequestsGetNoResponse) {
  StartWith(EchoHandler);
  for (const char* request : {"GET/\r\n\r\n", "PUT / HTTP/1.1\r\n\r\n",
                              "GET / HTTP/1.1\r\nAuthorization: Digest x\r\n\r\n"}) {
    LoopbackClient client(port_);
    ASSERT_TRUE(client.Send(request));
    bool closed = false;
    EXPECT_EQ(client.ReadToClose(5000, &closed), "") << request;
    EXPECT_TRUE(closed) << request;
  }
  // The server goes on serving.
  EXPECT_EQ(ParseResponse(Exchange(port_, "GET / HTTP/1.1\r\n\r\n")).body, "GET|/|");
}

TEST_F(HttpServerTest, OversizedRequestsAreClosedWithoutResponse) {
  StartWith(EchoHandler);
  const std::vector<std::string> requests = {
      "GET /" + std::string(9000, 'a') + " HTTP/1.1\r\n\r\n",
      "GET / HTTP/1.1\r\nX: " + std::string(9000, 'b') + "\r\n\r\n",
      "POST / HTTP/1.1\r\nContent-Length: 2000000\r\n\r\n",
  };
  for (const auto& request : requests) {
    LoopbackClient client(port_);
    client.Send(request);  // the server may close before it has all of it
    bool closed = false;
    EXPECT_EQ(client.ReadToClose(5000, &closed), "");
    EXPECT_TRUE(closed);
  }
}

TEST_F(HttpServerTest, HandlerErrorBecomesStatus500WithEscapedMessage) {
  StartWith([](const HttpRequestInfo&, HttpResponseInfo& response) {
    response.BodyText = "half a page";
    throw std::runtime_error("cannot write <settings>");
  });
  const auto response = ParseResponse(Exchange(port_, "GET / HTTP/1.1\r\n\r\n"));
  EXPECT_EQ(response.status_line, "HTTP/1.1 500 Internal Server Error");
  EXPECT_EQ(response.body, "cannot write &lt;settings&gt;");
}

TEST_F(HttpServerTest, EmptyBodyIsSentWithoutContentLength) {
  StartWith([](const HttpRequestInfo&, HttpResponseInfo&) {});
  const auto response = ParseResponse(Exchange(port_, "GET / HTTP/1.1\r\n\r\n"));
  EXPECT_EQ(response.header_lines,
            (std::vector<std::string>{std::string("Server: Chimewell/") + kVersionText,
                                      "Content-Type: text/html", "Connection: close"}));
  EXPECT_EQ(response.body, "");
}

TEST_F(HttpServerTest, ServerSoftwareReplacesTheProductTokenWhenNotBlank) {
  server_ = std::make_unique<HttpServer>(EchoHandler, TestLimits());
  server_->SetServerSoftware("  ");
  ASSERT_TRUE(server_->Start(0));
  auto response = ParseResponse(Exchange(server_->Port(), "GET / HTTP/1.1\r\n\r\n"));
  EXPECT_EQ(response.header_lines.at(0), std::string("Server: Chimewell/") + kVersionText);
  server_->SetServerSoftware(" Clock/2 ");
  ASSERT_TRUE(server_->Start(0));
  response = ParseResponse(Exchange(server_->Port(), "GET / HTTP/1.1\r\n\r\n"));
  EXPECT_EQ(response.header_lines.at(0), "Server: Clock/2");
}

// Each stage has one deadline however the bytes trickle in: a client sending a byte every
// 20 ms is closed at the stage's end all the same.
TEST_F(HttpServerTest, EachStageOfARequestHasAWholeDeadline) {
  StartWith(EchoHandler, TestLimits(300));
  struct Case {
    const char* name;
    std::string sent_at_once;
    std::string trickled;
  };
  const std::vector<Case> cases = {
      {"silent", "", ""},
      {"stalled in the headers", "GET / HTTP/1.1\r\nHost:", ""},
      {"trickling the headers", "GET / HTTP/1.1\r\n", std::string(200, 'X')},
      {"trickling the body", "POST / HTTP/1.1\r\nContent-Length: 500\r\n\r\n",
       std::string(200, 'a')},
  };
  for (const Case& c : cases) {
    LoopbackClient client(port_);
    ASSERT_TRUE(client.Send(c.sent_at_once));
    const auto start = std::chrono::steady_clock::now();
    bool closed = false;
    std::string received;
    for (char byte : c.trickled) {
      if (!client.Send(std::string(1, byte))) break;  // already closed: fine
      received += client.ReadToClose(20, &closed);
      if (closed) break;
    }
    if (!closed) received += client.ReadToClose(5000, &closed);
    EXPECT_TRUE(closed) << c.name;
    EXPECT_EQ(received, "") << c.name;
    // Well before the trickle (4 s) would have ended.
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(3)) << c.name;
  }
}

TEST_F(HttpServerTest, SlowClientDoesNotHoldUpAnother) {
  StartWith(EchoHandler, TestLimits(60'000));
  LoopbackClient slow(port_);
  ASSERT_TRUE(slow.Send("GET /slow HTTP/1.1\r\nHost: lo"));
  ASSERT_TRUE(Eventually([&] { return server_->ActiveConnections() == 1; }));
  EXPECT_EQ(ParseResponse(Exchange(port_, "GET /fast HTTP/1.1\r\n\r\n")).body, "GET|/fast|");
  // The slow one is still served once it finishes.
  ASSERT_TRUE(slow.Send("calhost\r\n\r\n"));
  EXPECT_EQ(ParseResponse(slow.ReadToClose(5000)).body, "GET|/slow|");
}

// Idle connections cost no thread, and when every slot is taken the connection that has been
// waiting longest for its request gives way, so a new client is always served.
TEST_F(HttpServerTest, IdleConnectionsTakeNoThreadsAndAFullServerStillServes) {
  HttpLimits limits = TestLimits(60'000);
  limits.max_connections = 150;
  StartWith(EchoHandler, limits);
  const int threads_before = testing::ThreadCount();
  std::vector<std::unique_ptr<LoopbackClient>> idle;
  for (int i = 0; i < 200; ++i) idle.push_back(std::make_unique<LoopbackClient>(port_));
  ASSERT_TRUE(idle.back()->Send("GET /half"));
  ASSERT_TRUE(Eventually([&] { return server_->ActiveConnections() == 150; }));
  EXPECT_LE(testing::ThreadCount(), threads_before);  // threads of earlier servers may still end

  EXPECT_EQ(ParseResponse(Exchange(port_, "GET /new HTTP/1.1\r\n\r\n")).body, "GET|/new|");
  // The oldest were closed to make room; the newest are still open.
  bool closed = false;
  idle.front()->ReadToClose(5000, &closed);
  EXPECT_TRUE(closed);
  ASSERT_TRUE(idle.back()->Send(" HTTP/1.1\r\n\r\n"));
  EXPECT_EQ(ParseResponse(idle.back()->ReadToClose(5000)).body, "GET|/half|");
}

// A busy handler holds up neither reading nor other answers (answers also reach clients that
// half-closed), and requests beyond those it can have waiting are told to come back.
TEST_F(HttpServerTest, ABusyHandlerHoldsUpNoOneAndWaitingRequestsAreBounded) {
  std::atomic<bool> release{false};
  std::atomic<int> entered{0};
  HttpLimits limits = TestLimits();
  limits.max_waiting_requests = 2;
  StartWith(
      [&](const HttpRequestInfo& request, HttpResponseInfo& response) {
        if (request.Document.starts_with("/slow")) {
          ++entered;
          while (!release) std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        response.BodyText = request.Document;
      },
      limits);
  LoopbackClient slow(port_);
  ASSERT_TRUE(slow.Send("GET /slow HTTP/1.1\r\n\r\n"));
  slow.FinishSending();
  EXPECT_EQ(ParseResponse(Exchange(port_, "GET /fast HTTP/1.1\r\n\r\n")).body, "/fast");
  LoopbackClient slow2(port_);
  ASSERT_TRUE(slow2.Send("GET /slow2 HTTP/1.1\r\n\r\n"));
  ASSERT_TRUE(Eventually([&] { return entered == 2; }));
  const auto busy = ParseResponse(Exchange(port_, "GET /more HTTP/1.1\r\n\r\n"));
  EXPECT_EQ(busy.status_line, "HTTP/1.1 503 Service Unavailable");
  release = true;
  EXPECT_EQ(ParseResponse(slow.ReadToClose(5000)).body, "/slow");
  EXPECT_EQ(ParseResponse(slow2.ReadToClose(5000)).body, "/slow2");
}

TEST_F(HttpServerTest, OtherMachinesWaitingForTheHandlerNeverHoldUpThisMachine) {
  std::atomic<bool> release{false};
  std::atomic<int> entered{0};
  HttpLimits limits = TestLimits();
  limits.max_waiting_requests = 2;
  server_ = std::make_unique<HttpServer>(
      [&](const HttpRequestInfo& request, HttpResponseInfo& response) {
        if (!request.LocalPeer) {  // as a password check takes its time
          ++entered;
          while (!release) std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        response.BodyText = request.Document;
      },
      limits);
  server_->SetLocalPeerTest([](const std::string& address) { return address == "127.0.0.1"; });
  ASSERT_TRUE(server_->Start(0));
  const uint16_t port = server_->Port();

  std::vector<std::unique_ptr<LoopbackClient>> others;
  for (int i = 0; i < 2; ++i) {
    others.push_back(std::make_unique<LoopbackClient>(port, "127.0.0.2"));
    ASSERT_TRUE(others.back()->Send("GET /other HTTP/1.1\r\n\r\n"));
  }
  ASSERT_TRUE(Eventually([&] { return entered == 1; }));
  EXPECT_EQ(
      ParseResponse(Exchange(port, "GET /more HTTP/1.1\r\n\r\n", 5000, "127.0.0.3")).status_line,
      "HTTP/1.1 503 Service Unavailable");
  // This machine's requests neither wait behind them nor find the queue full.
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(ParseResponse(Exchange(port, "GET /here HTTP/1.1\r\n\r\n")).body, "/here") << i;
  }
  release = true;
  for (auto& other : others) EXPECT_EQ(ParseResponse(other->ReadToClose(5000)).body, "/other");
}

// The lowest descriptor number not in use.
int LowestFreeDescriptor() {
  const int fd = dup(0);
  close(fd);
  return fd;
}

TEST_F(HttpServerTest, AServerThatCannotSetUpItsLoopSaysWhyInsteadOfStarting) {
  // The listening socket, the two handler pools' wake-ups, the loop's epoll and stop event,
  // in this order: allowing only the first `spare` of them makes the next one fail.
  const std::pair<int, const char*> cases[] = {
      {1, "eventfd"}, {2, "eventfd"}, {3, "epoll_create1"}, {4, "eventfd"}};
  // The sanitizers check an object's type through a pipe the first time they meet it, which
  // they cannot open without descriptors: they meet these types here first.
  HttpServer(EchoHandler, TestLimits()).Start(0);
  try {
    throw std::system_error(EMFILE, std::generic_category(), "eventfd");
  } catch (const std::system_error& e) {
    EXPECT_STRNE(e.what(), "");
  }
  rlimit saved{};
  ASSERT_EQ(getrlimit(RLIMIT_NOFILE, &saved), 0);
  const int free_before = LowestFreeDescriptor();
  for (const auto& [spare, call] : cases) {
    HttpServer server(EchoHandler, TestLimits());
    std::vector<std::string> errors;
    server.SetErrorCallback([&](const std::string& text) { errors.push_back(text); });
    rlimit tight = saved;
    tight.rlim_cur = static_cast<rlim_t>(free_before + spare);
    ASSERT_EQ(setrlimit(RLIMIT_NOFILE, &tight), 0);
    const bool started = server.Start(0);
    setrlimit(RLIMIT_NOFILE, &saved);
    EXPECT_FALSE(started) << spare;
    EXPECT_FALSE(server.Active()) << spare;
    ASSERT_EQ(errors.size(), 1u) << spare;
    EXPECT_TRUE(errors[0].starts_with("Could not start the server: ")) << errors[0];
    EXPECT_NE(errors[0].find(call), std::string::npos) << errors[0];
    EXPECT_EQ(LowestFreeDescriptor(), free_before) << "nothing left open, " << spare;
  }
}

TEST_F(HttpServerTest, ATakenPortIsReportedAndLeavesTheServerWhereItWas) {
  // Another program holds a port.
  const int other = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_addr.s_addr = htonl(INADDR_ANY);
  ASSERT_EQ(bind(other, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
  ASSERT_EQ(listen(other, 1), 0);
  socklen_t len = sizeof addr;
  getsockname(other, reinterpret_cast<sockaddr*>(&addr), &len);
  const uint16_t taken = ntohs(addr.sin_port);

  HttpServer server(EchoHandler, TestLimits());
  std::vector<std::string> errors;
  server.SetErrorCallback([&](const std::string& text) { errors.push_back(text); });
  EXPECT_FALSE(server.Start(taken));
  EXPECT_FALSE(server.Active());
  EXPECT_EQ(errors, std::vector<std::string>{kBindInUseText});

  ASSERT_TRUE(server.Start(0));
  EXPECT_TRUE(server.Active());
  const uint16_t first_port = server.Port();
  EXPECT_EQ(ParseResponse(Exchange(first_port, "GET /a HTTP/1.1\r\n\r\n")).body, "GET|/a|");
  // A taken port leaves the server where it was.
  EXPECT_FALSE(server.Start(taken));
  EXPECT_EQ(server.Port(), first_port);
  EXPECT_EQ(ParseResponse(Exchange(first_port, "GET /c HTTP/1.1\r\n\r\n")).body, "GET|/c|");
  ASSERT_TRUE(server.Start(0));
  EXPECT_EQ(ParseResponse(Exchange(server.Port(), "GET /b HTTP/1.1\r\n\r\n")).body, "GET|/b|");
  EXPECT_FALSE(LoopbackClient(first_port).connected());
  close(other);

  server.Stop();
  EXPECT_FALSE(server.Active());
  EXPECT_EQ(server.Port(), 0);
}

TEST_F(HttpServerTest, StopDisconnectsOpenConnections) {
  StartWith(EchoHandler, TestLimits(60'000));
  LoopbackClient idle(port_);
  ASSERT_TRUE(Eventually([&] { return server_->ActiveConnections() == 1; }));
  server_->Stop();
  EXPECT_EQ(server_->ActiveConnections(), 0);
  bool closed = false;
  idle.ReadToClose(5000, &closed);
  EXPECT_TRUE(closed);
}

TEST_F(HttpServerTest, ManyParallelClientsLeaveNoThreadsBehind) {
  StartWith(EchoHandler);
  const int threads_before = testing::ThreadCount();
  std::vector<std::thread> clients;
  std::atomic<int> served{0};
  for (int c = 0; c < 8; ++c) {
    clients.emplace_back([&, c] {
      for (int i = 0; i < 25; ++i) {
        const std::string doc = "/c" + std::to_string(c) + "i" + std::to_string(i);
        const auto response = ParseResponse(Exchange(port_, "GET " + doc + " HTTP/1.1\r\n\r\n"));
        if (response.body == "GET|" + doc + "|") ++served;
      }
    });
  }
  for (auto& client : clients) client.join();
  EXPECT_EQ(served, 200);
  EXPECT_TRUE(Eventually([&] { return server_->ActiveConnections() == 0; }));
  EXPECT_TRUE(Eventually([&] { return testing::ThreadCount() <= threads_before; }))
      << testing::ThreadCount() << " threads, " << threads_before << " before";
}

}  // namespace
}  // namespace chimewell
