#include "platform/linux/child_process.h"

#include <errno.h>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace chimewell {

bool ChildProcess::Start(const std::vector<std::string>& argv) {
  if (argv.empty()) return false;
  std::vector<char*> args;
  for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  for (int fd : {0, 1, 2}) {
    posix_spawn_file_actions_addopen(&actions, fd, "/dev/null", fd == 0 ? O_RDONLY : O_WRONLY, 0);
  }
  pid_t pid = 0;
  const int rc = posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (rc != 0) return false;
  const std::lock_guard lock(mutex_);
  pid_ = pid;
  return true;
}

bool ChildProcess::Wait() {
  pid_t pid;
  {
    const std::lock_guard lock(mutex_);
    pid = pid_;
  }
  if (pid <= 0) return false;
  // Wait for the end without reaping, so Kill can never hit a recycled process id.
  siginfo_t info{};
  while (waitid(P_PID, static_cast<id_t>(pid), &info, WEXITED | WNOWAIT) < 0 && errno == EINTR) {
  }
  int status = 0;
  {
    const std::lock_guard lock(mutex_);
    pid_ = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
  }
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

void ChildProcess::Kill() {
  const std::lock_guard lock(mutex_);
  if (pid_ > 0) ::kill(pid_, SIGKILL);
}

}  // namespace chimewell
