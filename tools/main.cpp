// chimewell-tool: checks the user's files and drives single subsystems from the shell.
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "tool_command.h"

namespace chimewell::tool {
namespace {

struct Entry {
  const char* usage;
  CommandFn run;
};

std::map<std::string, Entry>& Registry() {
  static std::map<std::string, Entry> registry;
  return registry;
}

int Usage() {
  std::fprintf(stderr, "usage: chimewell-tool COMMAND [ARGS]\n");
  for (const auto& [name, entry] : Registry()) std::fprintf(stderr, "  %s\n", entry.usage);
  return 2;
}

}  // namespace

CommandRegistrar::CommandRegistrar(const char* name, const char* usage, CommandFn run) {
  Registry()[name] = {usage, run};
}

}  // namespace chimewell::tool

int main(int argc, char** argv) {
  using namespace chimewell::tool;
  if (argc < 2) return Usage();
  const auto it = Registry().find(argv[1]);
  if (it == Registry().end()) return Usage();
  return it->second.run(std::vector<std::string>(argv + 2, argv + argc));
}
