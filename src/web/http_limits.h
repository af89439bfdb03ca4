#pragma once
// Bounds that keep clients from exhausting the server's memory, threads or patience.
#include <cstddef>

namespace chimewell {

struct HttpLimits {
  size_t max_line_bytes = 8 * 1024;     // request line or one header line, line end excluded
  size_t max_header_bytes = 64 * 1024;  // all header lines together, line ends included
  size_t max_body_bytes = 1024 * 1024;
  // Whole-stage deadlines, however the bytes trickle in: the request line and headers within
  // this long of accepting, the body within this long of the headers' end, and the answer
  // taken by the client within this long of its being ready.
  int head_timeout_ms = 10'000;
  int body_timeout_ms = 10'000;
  int send_timeout_ms = 10'000;
  // Open at once (and never more than the open-file limit allows); a client beyond it makes
  // the connection that has been reading its request longest give way.
  int max_connections = 4096;
  // Request and answer bytes held by all connections together; past it the largest holder
  // is closed.
  size_t max_held_bytes = 64 * 1024 * 1024;
  // Whole requests waiting for the handler, counted apart for this machine and for other
  // machines; more are answered "503 Service Unavailable" at once, so a busy UI thread
  // cannot make requests pile up, and other machines cannot fill this machine's room.
  int max_waiting_requests = 64;
  int handler_threads = 2;  // the handler itself runs one request at a time on the UI thread
  // For other machines' requests, kept apart from this machine's. One: a password check takes
  // 64 MiB, and checks one after the other keep that bounded however many clients try.
  int other_machine_threads = 1;
  // Room for a burst of clients: when the queue is full, connection attempts are dropped and
  // the client only retries after a second.
  int listen_backlog = 1024;
  int stop_wait_ms = 5'000;  // how long stopping waits for requests in the handler
};

}  // namespace chimewell
