#pragma once
// Subcommands of chimewell-tool register themselves here, one file each.
#include <string>
#include <vector>

namespace chimewell::tool {

// Receives the arguments after the subcommand's name; returns the exit code.
using CommandFn = int (*)(const std::vector<std::string>& args);

struct CommandRegistrar {
  // `usage` is the one-line synopsis; `details` what `chimewell-tool help NAME` adds below it:
  // what the command does, each option, and what it prints.
  CommandRegistrar(const char* name, const char* usage, CommandFn run, const char* details = "");
};

}  // namespace chimewell::tool
