#pragma once
// The id of a process that has just ended: what a crashed program's leftovers are named after.
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

namespace chimewell::testing {

inline pid_t EndedProcessId() {
  const pid_t child = ::fork();
  if (child == 0) ::_exit(0);
  ::waitpid(child, nullptr, 0);
  return child;
}

}  // namespace chimewell::testing
