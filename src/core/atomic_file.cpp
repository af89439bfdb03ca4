#include "core/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <string>

namespace chimewell {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kCannotWriteSuffix = " に書き込めません";

// Writes all of `data` to `fd`; false on any error, including a short write that makes no
// progress (a full disk or a file size limit).
bool WriteAll(int fd, std::string_view data) {
  while (!data.empty()) {
    const ssize_t n = ::write(fd, data.data(), data.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    data.remove_prefix(static_cast<size_t>(n));
  }
  return true;
}

// Creates a new, empty temporary file beside `target`; returns its descriptor or -1.
int CreateTemporaryBeside(const fs::path& target, fs::path& temp_path) {
  static std::atomic<unsigned> counter{0};
  const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
  for (int attempt = 0; attempt < 100; ++attempt) {
    temp_path = folder / ("." + target.filename().string() + ".tmp" + std::to_string(::getpid()) +
                          "-" + std::to_string(counter++));
    const int fd = ::open(temp_path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

}  // namespace

FileWriteError::FileWriteError(const fs::path& path)
    : std::runtime_error(path.string() + std::string(kCannotWriteSuffix)), path_(path) {}

void ReplaceFile(const fs::path& path, std::string_view content) {
  // Write through a symbolic link rather than replacing the link with a plain file.
  std::error_code ec;
  fs::path target = path;
  if (fs::is_symlink(path, ec)) {
    target = fs::weakly_canonical(path, ec);
    if (ec) throw FileWriteError(path);
  }

  fs::path temp_path;
  const int fd = CreateTemporaryBeside(target, temp_path);
  if (fd < 0) throw FileWriteError(path);

  struct stat old_file {};
  bool ok = true;
  if (::stat(target.c_str(), &old_file) == 0) ok = ::fchmod(fd, old_file.st_mode & 07777) == 0;
  ok = ok && WriteAll(fd, content) && ::fsync(fd) == 0;
  ok = (::close(fd) == 0) && ok;
  ok = ok && ::rename(temp_path.c_str(), target.c_str()) == 0;
  if (!ok) {
    ::unlink(temp_path.c_str());
    throw FileWriteError(path);
  }
  // Make the rename itself durable; the new contents are already safe, so this is best effort.
  const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
  const int dir_fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir_fd >= 0) {
    ::fsync(dir_fd);
    ::close(dir_fd);
  }
}

}  // namespace chimewell
