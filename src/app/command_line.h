#pragma once
// The program's command line.
#include <optional>
#include <string>
#include <vector>

namespace chimewell {

struct CommandLine {
  std::optional<std::string> home;  // --home DIR
  bool headless = false;            // --headless
  std::string audio = "auto";       // --audio pulse|alsa[:DEVICE]|wav:FILE|null
  bool help = false;
  bool version = false;
};

struct CommandLineResult {
  CommandLine options;
  std::string error;  // empty when the arguments were understood
};

CommandLineResult ParseCommandLine(const std::vector<std::string>& args);
// The one-line synopsis, and what --help prints after it.
const char* CommandLineUsage();
const char* CommandLineHelp();

}  // namespace chimewell
