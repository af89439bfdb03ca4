// Throughput of the embedded HTTP server over loopback: in-process clients, and wrk as the
// outside load tool (32 connections, 30 s by default) with thread and memory counts around it.
#include <arpa/inet.h>
#include <benchmark/benchmark.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <regex>
#include <string>
#include <thread>

#include "web/http_server.h"

namespace {

using chimewell::HttpRequestInfo;
using chimewell::HttpResponseInfo;
using chimewell::HttpServer;

// A page about the size of the configuration page.
void PageHandler(const HttpRequestInfo&, HttpResponseInfo& response) {
  static const std::string page = [] {
    std::string text = "<html><body>";
    while (text.size() < 40'000) text += "<p>設定項目 setting value 12345</p>\n";
    return text + "</body></html>";
  }();
  response.BodyText = page;
}

// One plain GET on a new connection; false when the answer is not a whole 200 response.
bool GetOnce(uint16_t port) {
  const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_port = htons(port);
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  bool ok = connect(fd, reinterpret_cast<const sockaddr*>(&addr), sizeof addr) == 0;
  static constexpr char kRequest[] = "GET / HTTP/1.1\r\nHost: localhost\r\n\r\n";
  ok = ok && send(fd, kRequest, sizeof kRequest - 1, MSG_NOSIGNAL) == sizeof kRequest - 1;
  std::string received;
  char buffer[16384];
  while (ok) {
    pollfd pfd{fd, POLLIN, 0};
    if (poll(&pfd, 1, 5000) <= 0) break;
    const ssize_t n = recv(fd, buffer, sizeof buffer, 0);
    if (n <= 0) break;
    received.append(buffer, static_cast<size_t>(n));
  }
  close(fd);
  return ok && received.starts_with("HTTP/1.1 200 OK\r\n") && received.size() > 40'000;
}

HttpServer* g_server = nullptr;

void BM_LoopbackRequest(benchmark::State& state) {
  if (state.thread_index() == 0) {
    g_server = new HttpServer(PageHandler);
    g_server->Start(0);
  }
  int failures = 0;
  for (auto _ : state) {
    if (!GetOnce(g_server->Port())) ++failures;
  }
  state.SetItemsProcessed(state.iterations());
  state.counters["failures"] = failures;
  if (state.thread_index() == 0) {
    delete g_server;
    g_server = nullptr;
  }
}
BENCHMARK(BM_LoopbackRequest)->Threads(1)->Threads(8)->UseRealTime();

long StatusField(const char* name) {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.starts_with(name)) return std::atol(line.c_str() + std::strlen(name));
  }
  return -1;
}

std::string RunCommand(const std::string& command) {
  std::string output;
  if (FILE* pipe = popen(command.c_str(), "r")) {
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) output.append(buffer, n);
    pclose(pipe);
  }
  return output;
}

double Match(const std::string& text, const char* pattern) {
  std::smatch m;
  if (!std::regex_search(text, m, std::regex(pattern))) return 0;
  return std::atof(m[1].str().c_str());
}

// Waits until every connection thread has ended.
void WaitIdle(const HttpServer& server) {
  for (int i = 0; i < 500 && server.ActiveConnections() > 0; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
}

// wrk against the server; CHIMEWELL_WRK_SECONDS shortens the run (default 30).
void BM_WrkLoad(benchmark::State& state) {
  if (std::system("command -v wrk >/dev/null") != 0) {
    state.SkipWithError("wrk is not installed (scripts/install-deps test)");
    return;
  }
  const char* seconds_env = std::getenv("CHIMEWELL_WRK_SECONDS");
  const int seconds = seconds_env ? std::atoi(seconds_env) : 30;
  HttpServer server(PageHandler);
  server.Start(0);
  const std::string url = "http://127.0.0.1:" + std::to_string(server.Port()) + "/";
  for (auto _ : state) {
    RunCommand("wrk -t2 -c32 -d3s " + url);  // warm-up: thread stacks and heap reach size
    WaitIdle(server);
    const long threads_before = StatusField("Threads:");
    const long rss_before = StatusField("VmRSS:");
    const std::string report =
        RunCommand("wrk -t2 -c32 -d" + std::to_string(seconds) + "s " + url + " 2>&1");
    WaitIdle(server);
    std::printf("%s", report.c_str());
    state.counters["requests_per_s"] = Match(report, R"(Requests/sec:\s+([0-9.]+))");
    state.counters["socket_errors"] =
        Match(report, R"(connect (\d+))") + Match(report, R"(read (\d+))") +
        Match(report, R"(write (\d+))") + Match(report, R"(timeout (\d+))");
    state.counters["non_2xx"] = Match(report, R"(Non-2xx or 3xx responses: (\d+))");
    state.counters["threads_growth"] = StatusField("Threads:") - threads_before;
    state.counters["rss_growth_kib"] = StatusField("VmRSS:") - rss_before;
  }
}
BENCHMARK(BM_WrkLoad)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();

}  // namespace
