#include "platform/linux/child_process.h"

#include <errno.h>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace chimewell {

bool ChildProcess::Start(const std::vector<std::string>& argv, int* input) {
  if (argv.empty()) return false;
  int pipe_fds[2] = {-1, -1};
  if (input && ::pipe2(pipe_fds, O_CLOEXEC) != 0) return false;
  std::vector<char*> args;
  for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  if (input) {
    posix_spawn_file_actions_adddup2(&actions, pipe_fds[0], 0);
  } else {
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  }
  for (int fd : {1, 2}) posix_spawn_file_actions_addopen(&actions, fd, "/dev/null", O_WRONLY, 0);
  pid_t pid = 0;
  const int rc = posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (input) {
    ::close(pipe_fds[0]);
    if (rc != 0) {
      ::close(pipe_fds[1]);
    } else {
      *input = pipe_fds[1];
    }
  }
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
  pid_t reaped = -1;
  {
    const std::lock_guard lock(mutex_);
    pid_ = 0;
    while ((reaped = waitpid(pid, &status, 0)) < 0 && errno == EINTR) {
    }
  }
  // A child reaped elsewhere (or never ours) has no status to read: nothing says it succeeded.
  return reaped == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

void ChildProcess::Kill() {
  const std::lock_guard lock(mutex_);
  if (pid_ > 0) ::kill(pid_, SIGKILL);
}

}  // namespace chimewell
