#pragma once
// Line and block reads over a ByteSource, each bounded so a client cannot grow memory at will.
#include <string>

#include "web/byte_source.h"

namespace chimewell {

enum class ReadStatus { kOk, kClosed, kFailed, kTooLong };

class BufferedReader {
 public:
  explicit BufferedReader(ByteSource& source) : source_(source) {}

  // The bytes up to the next line feed, without it and without one carriage return before it.
  // kTooLong as soon as the line is known to hold more than `max_bytes`.
  ReadStatus ReadLine(size_t max_bytes, std::string& line);
  // Exactly `count` bytes.
  ReadStatus ReadExact(size_t count, std::string& out);
  // Everything until the peer closes; kTooLong past `max_bytes`.
  ReadStatus ReadToEnd(size_t max_bytes, std::string& out);
  // How many of the source's bytes the reads so far have taken.
  size_t Consumed() const { return dropped_ + pos_; }

 private:
  // Appends what the source gives next to the buffer.
  ReadStatus Fill();
  size_t Buffered() const { return buffer_.size() - pos_; }

  ByteSource& source_;
  std::string buffer_;
  size_t pos_ = 0;
  size_t dropped_ = 0;  // bytes taken and already removed from the front of the buffer
};

}  // namespace chimewell
