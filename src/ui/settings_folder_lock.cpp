#include "ui/settings_folder_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace chimewell {

SettingsFolderLock::SettingsFolderLock(const std::string& lock_file) {
  // Close-on-exec: a browser or speech process started by the clock must not inherit the lock
  // and keep the folder taken after the clock has gone.
  fd_ = ::open(lock_file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  if (fd_ < 0) {
    error_ = lock_file + ": " + std::strerror(errno);
    return;
  }
  if (::flock(fd_, LOCK_EX | LOCK_NB) == 0) {
    outcome_ = Outcome::kTaken;
    return;
  }
  if (errno == EWOULDBLOCK) {
    outcome_ = Outcome::kHeldElsewhere;
  } else {
    error_ = lock_file + ": " + std::strerror(errno);
  }
  ::close(fd_);
  fd_ = -1;
}

SettingsFolderLock::~SettingsFolderLock() {
  if (fd_ >= 0) ::close(fd_);  // closing releases the lock
}

}  // namespace chimewell
