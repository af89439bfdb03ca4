// chimewell-tool tell: asks this user's running clock to say the time, say a text, or mute,
// through its local socket. Meant for a desktop shortcut.
#include <unistd.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "app/file_locations.h"
#include "app/tell_request.h"
#include "install_layout.h"
#include "platform/linux/instance_channel.h"
#include "tool_command.h"

namespace chimewell::tool {
namespace {

constexpr char kUsage[] = "tell [--home DIR] now | say TEXT... | mute on|off";
constexpr int kAnswerTimeoutMs = 5000;

// The settings file the clock started without --home uses: the clock is "chimewell" beside
// this tool, and keeps its files where ChooseFilesFolder says.
std::optional<std::string> SettingsFile(const std::optional<std::string>& home) {
  std::error_code error;
  const auto self = std::filesystem::read_symlink("/proc/self/exe", error);
  const std::filesystem::path folder = error ? std::filesystem::current_path() : self.parent_path();
  const ProgramLocation program{(folder / "chimewell").string(),
                                ::access(folder.c_str(), W_OK) == 0};
  const InstallLayout layout{kInstallBinDir, kInstallDataDir, kApplicationId};
  const FilesFolder chosen = ChooseFilesFolder(
      home, program, layout, UserConfigHome(std::getenv("XDG_CONFIG_HOME"), std::getenv("HOME")));
  if (chosen.folder.empty()) return std::nullopt;
  return (std::filesystem::path(chosen.folder) / "chimewell.ini").string();
}

std::optional<TellRequest> ReadRequest(const std::vector<std::string>& words) {
  if (words.empty()) return std::nullopt;
  std::string line = words[0];
  for (size_t i = 1; i < words.size(); ++i) line += " " + words[i];
  return ParseTellLine(line);
}

int Run(const std::vector<std::string>& args) {
  std::optional<std::string> home;
  std::vector<std::string> words;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--home" && words.empty()) {
      if (i + 1 >= args.size()) {
        std::fprintf(stderr, "tell: --home needs a folder\nusage: chimewell-tool %s\n", kUsage);
        return 2;
      }
      home = args[++i];
      continue;
    }
    words.push_back(args[i]);
  }
  const auto request = ReadRequest(words);
  if (!request) {
    std::fprintf(stderr, "usage: chimewell-tool %s\n", kUsage);
    return 2;
  }
  const auto settings = SettingsFile(home);
  if (!settings) {
    std::fprintf(stderr, "tell: the clock's folder is unknown (no HOME); give --home\n");
    return 1;
  }
  const auto answer = SendInstanceRequest(InstanceChannelName(InstanceLockFile(*settings)),
                                          TellLine(*request), kAnswerTimeoutMs);
  if (!answer) {
    std::fprintf(stderr, "tell: no clock is running for %s\n", settings->c_str());
    return 1;
  }
  if (*answer != kTellOk) {
    std::fprintf(stderr, "tell: %s\n", answer->c_str());
    return 1;
  }
  return 0;
}

const CommandRegistrar kRegistrar(
    "tell", kUsage, Run,
    "Asks the clock this user runs (with the same --home, if any) to act at once:\n"
    "  now            say the time, as the menu's Current command\n"
    "  say TEXT...    speak the words, after what is already queued\n"
    "  mute on|off    mute or unmute\n"
    "Prints nothing on success (exit 0). Exit 1 with a line on standard error when no clock\n"
    "runs for that folder or the clock refused (its reason follows \"tell: error\").\n"
    "Bind \"chimewell-tool tell now\" to a key in the desktop's keyboard settings.\n");

}  // namespace
}  // namespace chimewell::tool
