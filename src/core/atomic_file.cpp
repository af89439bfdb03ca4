#include "core/atomic_file.h"

#include <fcntl.h>
#include <signal.h>
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

fs::path FolderOf(const fs::path& target) {
  return target.has_parent_path() ? target.parent_path() : fs::path(".");
}

// The file a replacement of `target` goes through: ".<name>.tmp<pid>-<counter>".
std::string TemporaryPrefix(const fs::path& target) {
  return "." + target.filename().string() + ".tmp";
}

bool AllDigits(std::string_view text) {
  return !text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos;
}

// The writing process of a temporary file of `target`, or 0 when `name` is not one.
pid_t TemporaryWriter(const fs::path& target, std::string_view name) {
  const std::string prefix = TemporaryPrefix(target);
  if (!name.starts_with(prefix)) return 0;
  name.remove_prefix(prefix.size());
  const size_t dash = name.find('-');
  if (dash == std::string_view::npos || dash > 9 || !AllDigits(name.substr(0, dash)) ||
      !AllDigits(name.substr(dash + 1))) {
    return 0;
  }
  return static_cast<pid_t>(std::stol(std::string(name.substr(0, dash))));
}

bool ProcessAlive(pid_t pid) { return ::kill(pid, 0) == 0 || errno == EPERM; }

// Where ReplaceFile writes: through a symbolic link to the file it names. `ec` is set only
// when a link cannot be followed (a missing file is no error).
fs::path WriteTarget(const fs::path& path, std::error_code& ec) {
  std::error_code missing;
  if (!fs::is_symlink(path, missing)) {
    ec.clear();
    return path;
  }
  return fs::weakly_canonical(path, ec);
}

// Creates a new, empty temporary file beside `target`; returns its descriptor or -1.
int CreateTemporaryBeside(const fs::path& target, fs::path& temp_path) {
  static std::atomic<unsigned> counter{0};
  const fs::path folder = FolderOf(target);
  for (int attempt = 0; attempt < 100; ++attempt) {
    temp_path = folder / (TemporaryPrefix(target) + std::to_string(::getpid()) + "-" +
                          std::to_string(counter++));
    // Readable by the owner only: the settings hold the access password's hash. A file that
    // is replaced gets its old permissions back afterwards.
    const int fd = ::open(temp_path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
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
  const fs::path target = WriteTarget(path, ec);
  if (ec) throw FileWriteError(path);

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
  const fs::path folder = FolderOf(target);
  const int dir_fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir_fd >= 0) {
    ::fsync(dir_fd);
    ::close(dir_fd);
  }
}

size_t RemoveStaleTemporaries(const fs::path& path) {
  std::error_code ec;
  const fs::path target = WriteTarget(path, ec);
  if (ec) return 0;
  size_t removed = 0;
  for (fs::directory_iterator it(FolderOf(target), ec), end; !ec && it != end; it.increment(ec)) {
    const pid_t writer = TemporaryWriter(target, it->path().filename().string());
    // A save still under way in another running copy of the program is left alone.
    if (writer <= 0 || writer == ::getpid() || ProcessAlive(writer)) continue;
    std::error_code type_ec;
    if (!it->is_regular_file(type_ec) || it->is_symlink(type_ec)) continue;
    std::error_code remove_ec;
    if (fs::remove(it->path(), remove_ec)) ++removed;
  }
  return removed;
}

}  // namespace chimewell
