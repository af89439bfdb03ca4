#pragma once
// A small limit on the size of files this process writes, for as long as it lives: the way the
// tests make a disk "fill up" halfway through a write (they may run as root, who writes into
// read-only folders, so a read-only folder would not do).
#include <sys/resource.h>

#include <csignal>

namespace chimewell::testing {

class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    ::getrlimit(RLIMIT_FSIZE, &saved_);
    // Past the limit a write fails with EFBIG instead of the signal ending the process.
    old_handler_ = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved_;
    small.rlim_cur = bytes;
    ::setrlimit(RLIMIT_FSIZE, &small);
  }
  ~FileSizeLimit() {
    ::setrlimit(RLIMIT_FSIZE, &saved_);
    std::signal(SIGXFSZ, old_handler_);
  }
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;

 private:
  rlimit saved_{};
  void (*old_handler_)(int) = nullptr;
};

}  // namespace chimewell::testing
