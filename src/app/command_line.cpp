#include "app/command_line.h"

namespace chimewell {

const char* CommandLineUsage() {
  return "usage: chimewell [--home DIR] [--headless] "
         "[--audio pulse|alsa[:DEVICE]|wav:FILE|null] [--help] [--version]\n";
}

CommandLineResult ParseCommandLine(const std::vector<std::string>& args) {
  CommandLineResult result;
  CommandLine& o = result.options;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    auto value = [&](std::string& into) {
      if (i + 1 >= args.size()) {
        result.error = a + " needs a value";
        return false;
      }
      into = args[++i];
      return true;
    };
    if (a == "--help" || a == "-h") {
      o.help = true;
    } else if (a == "--version") {
      o.version = true;
    } else if (a == "--headless") {
      o.headless = true;
    } else if (a == "--home") {
      std::string home;
      if (!value(home)) break;
      o.home = home;
    } else if (a == "--audio") {
      if (!value(o.audio)) break;
    } else {
      result.error = "unknown argument: " + a;
      break;
    }
  }
  return result;
}

}  // namespace chimewell
