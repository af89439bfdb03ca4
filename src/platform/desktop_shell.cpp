#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <thread>

#include "platform/shell.h"

extern char** environ;

namespace chimewell {

void DesktopShell::OpenUrl(const std::string& url) {
  // xdg-open may block until the browser exits; reap it on a detached thread.
  std::thread([url] {
    pid_t pid = 0;
    const char* argv[] = {"xdg-open", url.c_str(), nullptr};
    if (posix_spawnp(&pid, "xdg-open", nullptr, nullptr, const_cast<char* const*>(argv),
                     environ) == 0) {
      int status = 0;
      waitpid(pid, &status, 0);
    }
  }).detach();
}

std::optional<std::string> DesktopShell::ComputerName(size_t max_chars) const {
  char name[256] = {};
  if (gethostname(name, sizeof name - 1) != 0) return std::nullopt;
  std::string result(name);
  // A name longer than the buffer the caller allows is a failure, as the system call would be.
  if (result.size() > max_chars) return std::nullopt;
  return result;
}

}  // namespace chimewell
