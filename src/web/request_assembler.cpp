#include "web/request_assembler.h"

#include <algorithm>
#include <cstring>

#include "web/text_util.h"

namespace chimewell {
namespace {

constexpr const char* kBodyTooLong = "Request body too long.";
constexpr const char* kPeerClosedEarly = "Connection closed by the peer.";

// The bytes held so far, handed to the parser; it runs out where they end.
class HeldBytes final : public ByteSource {
 public:
  explicit HeldBytes(std::string_view data) : data_(data) {}
  ssize_t Receive(char* buffer, size_t size) override {
    const size_t n = std::min(size, data_.size() - pos_);
    std::memcpy(buffer, data_.data() + pos_, n);
    pos_ += n;
    return static_cast<ssize_t>(n);
  }

 private:
  std::string_view data_;
  size_t pos_ = 0;
};

}  // namespace

RequestAssembler::RequestAssembler(const HttpLimits& limits, std::string peer_address)
    : limits_(limits), peer_address_(std::move(peer_address)) {}

RequestAssembler::State RequestAssembler::Add(std::string_view bytes) {
  if (state_ == State::kDone || state_ == State::kDropped || bytes.empty()) return state_;
  bytes_.append(bytes);
  if (state_ == State::kHead) ScanHead();
  if (state_ == State::kBody) CheckBody();
  return state_;
}

RequestAssembler::State RequestAssembler::PeerClosed() {
  peer_closed_ = true;
  if (state_ == State::kHead) {
    Drop(kPeerClosedEarly);
  } else if (state_ == State::kBody) {
    if (head_.body_length == kBodyUntilClose) {
      Finish();
    } else {
      Drop(kPeerClosedEarly);
    }
  }
  return state_;
}

void RequestAssembler::ScanHead() {
  bool decide = false;
  while (scanned_ < bytes_.size()) {
    const size_t lf = bytes_.find('\n', scanned_);
    if (lf == std::string::npos) {
      scanned_ = bytes_.size();
      break;
    }
    scanned_ = lf + 1;
    std::string_view line(bytes_.data() + line_start_, lf - line_start_);
    line_start_ = lf + 1;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (lines_++ == 0) {
      decide = true;  // the request line: a wrong method is refused before any header
      continue;
    }
    header_bytes_ += line.size() + 2;
    if (TrimBlanksAndControls(line).empty() || header_bytes_ > limits_.max_header_bytes ||
        line.size() > limits_.max_line_bytes) {
      decide = true;
      break;
    }
  }
  // A line without its end that is already too long.
  if (bytes_.size() - line_start_ > limits_.max_line_bytes + 1) decide = true;
  if (decide) ParseHead();
}

void RequestAssembler::ParseHead() {
  HeldBytes source(bytes_);
  BufferedReader reader(source);
  head_ = ReadRequestHead(reader, limits_, peer_address_);
  switch (head_.status) {
    case RequestHead::Status::kNeedMore:
      return;
    case RequestHead::Status::kDrop:
      Drop(head_.drop_reason);
      return;
    case RequestHead::Status::kComplete:
      head_end_ = reader.Consumed();
      state_ = State::kBody;
      return;
  }
}

void RequestAssembler::CheckBody() {
  const size_t body_bytes = bytes_.size() - head_end_;
  if (head_.body_length == kBodyUntilClose) {
    if (body_bytes > limits_.max_body_bytes) Drop(kBodyTooLong);
    return;
  }
  if (head_.body_length < 0 || body_bytes >= static_cast<size_t>(head_.body_length)) Finish();
}

void RequestAssembler::Finish() {
  std::string body;
  if (head_.body_length != -1) {
    const size_t length =
        head_.body_length >= 0 ? static_cast<size_t>(head_.body_length) : std::string::npos;
    body = bytes_.substr(head_end_, length);
  }
  std::string().swap(bytes_);
  result_ = FinishRequest(std::move(head_), std::move(body));
  state_ = result_.request ? State::kDone : State::kDropped;
}

void RequestAssembler::Drop(std::string reason) {
  std::string().swap(bytes_);
  result_ = {std::nullopt, std::move(reason)};
  state_ = State::kDropped;
}

RequestReadResult RequestAssembler::Take() { return std::move(result_); }

}  // namespace chimewell
