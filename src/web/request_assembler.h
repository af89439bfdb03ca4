#pragma once
// Collects one request's bytes as they arrive on a connection, in any pieces, and says when
// the request is whole. The request is parsed once it is, by the same parser as everywhere.
#include <cstdint>
#include <string>
#include <string_view>

#include "web/http_limits.h"
#include "web/http_request_parser.h"

namespace chimewell {

class RequestAssembler {
 public:
  enum class State { kHead, kBody, kDone, kDropped };

  RequestAssembler(const HttpLimits& limits, std::string peer_address);

  // Adds the bytes received next. Bytes after a whole request are ignored.
  State Add(std::string_view bytes);
  // The peer will send nothing more.
  State PeerClosed();
  State Current() const { return state_; }
  // Bytes held for the request so far.
  size_t Held() const { return bytes_.size(); }
  // The request once kDone, or the reason once kDropped; the bytes are released.
  RequestReadResult Take();

 private:
  // Scans the newly added bytes line by line and parses the head when the parser could decide
  // something: the request line is whole, the head has ended, or a limit is passed.
  void ScanHead();
  void ParseHead();
  void CheckBody();
  void Finish();
  void Drop(std::string reason);

  HttpLimits limits_;
  std::string peer_address_;
  State state_ = State::kHead;
  bool peer_closed_ = false;
  std::string bytes_;
  size_t scanned_ = 0;       // bytes of the head already looked at
  size_t line_start_ = 0;    // where the line being scanned begins
  size_t lines_ = 0;         // whole lines seen, the request line included
  size_t header_bytes_ = 0;  // header lines so far, counted as the parser counts them
  RequestHead head_;
  size_t head_end_ = 0;
  RequestReadResult result_;
};

}  // namespace chimewell
