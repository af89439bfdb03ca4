#pragma once
// The folder of the user's files as the program itself would choose it: --home when given,
// else beside the program when its folder is writable and not the installed one, else the
// user's config folder. The tools only read there; nothing is created.
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include "app/app_paths.h"
#include "app/file_locations.h"
#include "app/program_data.h"
#include "install_layout.h"

namespace chimewell::tool {

// This program's own path, and the clock's beside it.
inline std::filesystem::path ToolPath() {
  std::error_code ec;
  const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
  return ec ? std::filesystem::path("chimewell-tool") : self;
}

inline InstallLayout ThisLayout() { return {kInstallBinDir, kInstallDataDir, kApplicationId}; }

// The built-in chimes' folder, found as the clock finds it (empty when there is none).
inline std::string ChimeFolder() {
  return FindProgramData(ToolPath().string(), ThisLayout()).chimes;
}

// None when the folder cannot be told (no --home, and neither XDG_CONFIG_HOME nor HOME).
inline std::optional<AppPaths> UserFiles(const std::optional<std::string>& home) {
  namespace fs = std::filesystem;
  // The clock is installed beside its tool, in the same folder.
  const fs::path program = ToolPath().parent_path() / "chimewell";
  const ProgramLocation location{program.string(),
                                 ::access(program.parent_path().c_str(), W_OK) == 0};
  const FilesFolder chosen =
      ChooseFilesFolder(home, location, ThisLayout(),
                        UserConfigHome(std::getenv("XDG_CONFIG_HOME"), std::getenv("HOME")));
  if (chosen.folder.empty()) return std::nullopt;
  AppPaths paths = chosen.place == FilesPlace::kBesideProgram
                       ? PathsBesideExecutable(program.string())
                       : PathsInHome(chosen.folder);
  paths.chimes = ChimeFolder();
  return paths;
}

// The days-off file that goes with a script given by name: one named like it (NAME.hol), else
// chimewell.hol in its folder.
inline std::string HolidaysBeside(const std::string& script) {
  namespace fs = std::filesystem;
  fs::path own = fs::path(script).replace_extension(".hol");
  if (fs::exists(own)) return own.string();
  return (fs::path(script).parent_path() / "chimewell.hol").string();
}

}  // namespace chimewell::tool
