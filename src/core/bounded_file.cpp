#include "core/bounded_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace chimewell {
namespace {

constexpr uint64_t kMiB = 1024 * 1024;

// Closes the descriptor when the read ends, keeping the errno the read left.
class FdCloser {
 public:
  explicit FdCloser(int fd) : fd_(fd) {}
  ~FdCloser() {
    const int saved = errno;
    ::close(fd_);
    errno = saved;
  }
  FdCloser(const FdCloser&) = delete;
  FdCloser& operator=(const FdCloser&) = delete;

 private:
  int fd_;
};

}  // namespace

uint64_t MaxFileBytes(FileKind kind) {
  switch (kind) {
    case FileKind::kSound:
      return 64 * kMiB;
    case FileKind::kVoice:
      return 16 * kMiB;
    case FileKind::kPage:
    case FileKind::kScript:
      return 4 * kMiB;
  }
  return 4 * kMiB;
}

std::optional<std::string> ReadRegularFile(const std::string& path, uint64_t max_bytes) {
  // O_NONBLOCK: opening a FIFO for reading would otherwise wait for a writer. It changes
  // nothing for a regular file.
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
  if (fd < 0) return std::nullopt;
  const FdCloser closer(fd);
  struct stat st {};
  if (::fstat(fd, &st) != 0) return std::nullopt;
  if (!S_ISREG(st.st_mode)) {
    errno = EINVAL;
    return std::nullopt;
  }
  if (static_cast<uint64_t>(st.st_size) > max_bytes) {
    errno = EFBIG;
    return std::nullopt;
  }
  std::string content;
  content.reserve(static_cast<size_t>(st.st_size));
  char buffer[65536];
  for (;;) {
    // One byte past the limit is enough to know that the file grew beyond it.
    const uint64_t room = max_bytes + 1 - content.size();
    const size_t want = room < sizeof buffer ? static_cast<size_t>(room) : sizeof buffer;
    const ssize_t n = ::read(fd, buffer, want);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return std::nullopt;
    if (n == 0) return content;
    content.append(buffer, static_cast<size_t>(n));
    if (content.size() > max_bytes) {
      errno = EFBIG;
      return std::nullopt;
    }
  }
}

}  // namespace chimewell
