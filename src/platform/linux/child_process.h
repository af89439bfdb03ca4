#pragma once
// Runs a program to completion while letting another thread kill it.
#include <sys/types.h>

#include <mutex>
#include <string>
#include <vector>

namespace chimewell {

class ChildProcess {
 public:
  // Starts `argv[0]` (searched in PATH) with stdout and stderr on /dev/null. Its stdin is
  // /dev/null, or, when `input` is given, a pipe whose writing end is stored there (the caller
  // closes it). False when it could not be started.
  bool Start(const std::vector<std::string>& argv, int* input = nullptr);
  // Waits for the program to end; true when it exited with status 0 (false also when its end
  // cannot be learned, as when it was reaped elsewhere).
  bool Wait();
  // Kills the program if it still runs. Safe from any thread, also after it has ended.
  void Kill();

 private:
  std::mutex mutex_;
  pid_t pid_ = 0;  // set while the child exists and is not yet reaped
};

}  // namespace chimewell
