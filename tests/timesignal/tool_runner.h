#pragma once
// Runs chimewell-tool with shell-quoted arguments and keeps its stdout, stderr and exit code.
#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <string>

#include "support/temp_dir.h"

namespace chimewell::testing {

struct ToolResult {
  std::string out;
  std::string err;
  int exit_code = -1;
};

// Single quotes keep the shell from touching the arguments (none of ours contain one).
inline ToolResult RunTool(const std::string& args) {
  TempDir dir;
  const std::string err_path = (dir / "stderr").string();
  const std::string command =
      std::string("'") + CHIMEWELL_TOOL_PATH + "' " + args + " 2>'" + err_path + "'";
  ToolResult result;
  FILE* pipe = ::popen(command.c_str(), "r");
  if (pipe == nullptr) return result;
  std::array<char, 4096> buffer{};
  while (const size_t n = std::fread(buffer.data(), 1, buffer.size(), pipe)) {
    result.out.append(buffer.data(), n);
  }
  const int status = ::pclose(pipe);
  result.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  result.err = ReadBytes(dir / "stderr");
  return result;
}

}  // namespace chimewell::testing
