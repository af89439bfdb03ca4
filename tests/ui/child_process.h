#pragma once
// Runs the real program as a child process with its stdout on a pipe, for black-box tests.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <optional>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace chimewell::testing {

class ChildProcess {
 public:
  // `unset` names environment variables the child does not get; with `with_stderr` its
  // standard error is read together with its standard output.
  ChildProcess(const std::vector<std::string>& argv, const std::vector<std::string>& unset = {},
               bool with_stderr = false) {
    int out[2];
    if (pipe2(out, O_CLOEXEC) != 0) return;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    if (with_stderr) posix_spawn_file_actions_adddup2(&actions, out[1], STDERR_FILENO);
    std::vector<std::string> env;
    for (char** e = environ; *e != nullptr; ++e) {
      const std::string entry = *e;
      bool keep = true;
      for (const auto& name : unset) keep = keep && entry.rfind(name + "=", 0) != 0;
      if (keep) env.push_back(entry);
    }
    std::vector<char*> cargv;
    for (const auto& a : argv) cargv.push_back(const_cast<char*>(a.c_str()));
    cargv.push_back(nullptr);
    std::vector<char*> cenv;
    for (auto& e : env) cenv.push_back(e.data());
    cenv.push_back(nullptr);
    if (posix_spawn(&pid_, cargv[0], &actions, nullptr, cargv.data(), cenv.data()) != 0) pid_ = -1;
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    stdout_ = out[0];
  }
  ~ChildProcess() {
    if (pid_ > 0 && !status_) {
      kill(pid_, SIGKILL);
      waitpid(pid_, nullptr, 0);
    }
    if (stdout_ >= 0) close(stdout_);
  }
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  bool Started() const { return pid_ > 0; }
  void Signal(int signal) const { kill(pid_, signal); }

  // The first stdout line starting with `prefix`; nullopt when the child closed its output or
  // `guard` ran out first (the guard only keeps a broken program from hanging the test).
  std::optional<std::string> LineStartingWith(const std::string& prefix,
                                              std::chrono::seconds guard) {
    const auto give_up = std::chrono::steady_clock::now() + guard;
    for (;;) {
      for (size_t end; (end = buffer_.find('\n')) != std::string::npos;) {
        std::string line = buffer_.substr(0, end);
        buffer_.erase(0, end + 1);
        if (line.rfind(prefix, 0) == 0) return line;
      }
      const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
          give_up - std::chrono::steady_clock::now());
      if (left.count() <= 0) return std::nullopt;
      pollfd fd{stdout_, POLLIN, 0};
      if (poll(&fd, 1, static_cast<int>(left.count())) <= 0) continue;
      char chunk[512];
      const ssize_t n = read(stdout_, chunk, sizeof chunk);
      if (n <= 0) return std::nullopt;
      buffer_.append(chunk, static_cast<size_t>(n));
    }
  }

  // The exit status (as waitpid reports it), or nullopt if the child is still running after
  // `guard`.
  std::optional<int> Wait(std::chrono::seconds guard) {
    const auto give_up = std::chrono::steady_clock::now() + guard;
    while (!status_) {
      int status = 0;
      if (waitpid(pid_, &status, WNOHANG) == pid_) {
        status_ = status;
        break;
      }
      if (std::chrono::steady_clock::now() > give_up) return std::nullopt;
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return status_;
  }

 private:
  pid_t pid_ = -1;
  int stdout_ = -1;
  std::string buffer_;
  std::optional<int> status_;
};

}  // namespace chimewell::testing
