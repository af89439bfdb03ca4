#pragma once
// Bounds that keep one client from exhausting the server's memory or threads.
#include <cstddef>

namespace chimewell {

struct HttpLimits {
  size_t max_line_bytes = 8 * 1024;     // request line or one header line, line end excluded
  size_t max_header_bytes = 64 * 1024;  // all header lines together, line ends included
  size_t max_body_bytes = 1024 * 1024;
  int idle_timeout_ms = 10'000;  // a connection silent this long is closed
  int max_connections = 64;      // served at once; later ones wait in the backlog
  // Room for a burst of clients: a short queue drops connection attempts, and the client only
  // retries after a second.
  int listen_backlog = 64;
  int stop_wait_ms = 5'000;  // how long stopping waits for open connections
};

}  // namespace chimewell
