#include "web/buffered_reader.h"

#include <algorithm>
#include <cstring>

namespace chimewell {
namespace {
constexpr size_t kChunk = 16 * 1024;
}  // namespace

ssize_t StringByteSource::Receive(char* buffer, size_t size) {
  const size_t n = std::min({size, chunk_, data_.size() - pos_});
  std::memcpy(buffer, data_.data() + pos_, n);
  pos_ += n;
  return static_cast<ssize_t>(n);
}

ReadStatus BufferedReader::Fill() {
  if (pos_ > 0 && pos_ == buffer_.size()) {
    dropped_ += pos_;
    buffer_.clear();
    pos_ = 0;
  } else if (pos_ >= kChunk) {
    dropped_ += pos_;
    buffer_.erase(0, pos_);
    pos_ = 0;
  }
  const size_t old_size = buffer_.size();
  buffer_.resize(old_size + kChunk);
  const ssize_t n = source_.Receive(buffer_.data() + old_size, kChunk);
  buffer_.resize(old_size + static_cast<size_t>(std::max<ssize_t>(n, 0)));
  if (n > 0) return ReadStatus::kOk;
  return n == 0 ? ReadStatus::kClosed : ReadStatus::kFailed;
}

ReadStatus BufferedReader::ReadLine(size_t max_bytes, std::string& line) {
  // A carriage return before the line feed does not count against the limit.
  const size_t max_raw = max_bytes + 1;
  size_t scanned = 0;
  while (true) {
    const size_t lf = buffer_.find('\n', pos_ + scanned);
    if (lf != std::string::npos) {
      size_t end = lf;
      if (end > pos_ && buffer_[end - 1] == '\r') --end;
      if (end - pos_ > max_bytes) return ReadStatus::kTooLong;
      line.assign(buffer_, pos_, end - pos_);
      pos_ = lf + 1;
      return ReadStatus::kOk;
    }
    scanned = Buffered();
    if (scanned > max_raw) return ReadStatus::kTooLong;
    const ReadStatus status = Fill();
    if (status != ReadStatus::kOk) return status;
  }
}

ReadStatus BufferedReader::ReadExact(size_t count, std::string& out) {
  out.clear();
  while (true) {
    const size_t take = std::min(count - out.size(), Buffered());
    out.append(buffer_, pos_, take);
    pos_ += take;
    if (out.size() == count) return ReadStatus::kOk;
    const ReadStatus status = Fill();
    if (status != ReadStatus::kOk) return status;
  }
}

ReadStatus BufferedReader::ReadToEnd(size_t max_bytes, std::string& out) {
  out.clear();
  while (true) {
    out.append(buffer_, pos_, Buffered());
    pos_ = buffer_.size();
    if (out.size() > max_bytes) return ReadStatus::kTooLong;
    const ReadStatus status = Fill();
    if (status == ReadStatus::kClosed) return ReadStatus::kOk;
    if (status != ReadStatus::kOk) return status;
  }
}

}  // namespace chimewell
