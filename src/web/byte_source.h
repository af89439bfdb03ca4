#pragma once
// Where request bytes come from: a socket in the server, a string in tests.
#include <sys/types.h>

#include <cstddef>
#include <string>

namespace chimewell {

class ByteSource {
 public:
  virtual ~ByteSource() = default;
  // Reads up to `size` bytes into `buffer`. Returns the count read (> 0), 0 when the peer has
  // closed, or -1 when reading failed or timed out.
  virtual ssize_t Receive(char* buffer, size_t size) = 0;
};

// Hands out a fixed text in pieces of at most `chunk` bytes, then reports the peer closed.
class StringByteSource final : public ByteSource {
 public:
  explicit StringByteSource(std::string data, size_t chunk = 4096)
      : data_(std::move(data)), chunk_(chunk == 0 ? 1 : chunk) {}
  ssize_t Receive(char* buffer, size_t size) override;

 private:
  std::string data_;
  size_t chunk_;
  size_t pos_ = 0;
};

}  // namespace chimewell
