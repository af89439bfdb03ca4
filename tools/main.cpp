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
  const char* details;
};

std::map<std::string, Entry>& Registry() {
  static std::map<std::string, Entry> registry;
  return registry;
}

void PrintOverview(std::FILE* out) {
  std::fprintf(out,
               "usage: chimewell-tool COMMAND [ARGS]\n"
               "       chimewell-tool help [COMMAND]\n\n"
               "Checks Chimewell's files and drives single parts of the clock from the shell.\n"
               "Commands:\n");
  for (const auto& [name, entry] : Registry()) std::fprintf(out, "  %s\n", entry.usage);
  std::fprintf(out, "'chimewell-tool help COMMAND' explains one command, its options and output.\n");
}

int Usage() {
  PrintOverview(stderr);
  return 2;
}

// `help` alone gives the overview; `help NAME` one command's synopsis and details.
int Help(const std::vector<std::string>& args) {
  if (args.empty()) {
    PrintOverview(stdout);
    return 0;
  }
  const auto it = Registry().find(args[0]);
  if (args.size() > 1 || it == Registry().end()) {
    std::fprintf(stderr, "help: no command \"%s\"\n", args[0].c_str());
    return Usage();
  }
  std::printf("usage: chimewell-tool %s\n\n%s", it->second.usage, it->second.details);
  // The sound commands share the one way of naming where their sound goes.
  if (std::string(it->second.usage).find("--audio SINK") != std::string::npos) {
    std::printf("  --audio SINK          where the sound goes: auto (the sound server, else ALSA;\n"
                "                        the default), pulse, alsa, alsa:DEVICE, wav:FILE (a\n"
                "                        capture) or null\n");
  }
  return 0;
}

}  // namespace

CommandRegistrar::CommandRegistrar(const char* name, const char* usage, CommandFn run,
                                   const char* details) {
  Registry()[name] = {usage, run, details};
}

}  // namespace chimewell::tool

int main(int argc, char** argv) {
  using namespace chimewell::tool;
  if (argc < 2) return Usage();
  const std::string command = argv[1];
  std::vector<std::string> args(argv + 2, argv + argc);
  if (command == "help" || command == "--help" || command == "-h") return Help(args);
  const auto it = Registry().find(command);
  if (it == Registry().end()) {
    std::fprintf(stderr, "unknown command: %s\n", command.c_str());
    return Usage();
  }
  return it->second.run(args);
}
