#include "app/file_locations.h"

#include <filesystem>

#include "app/files_folder.h"

namespace chimewell {
namespace {

namespace fs = std::filesystem;

bool SameFolder(const fs::path& a, const fs::path& b) {
  std::error_code ec;
  if (fs::equivalent(a, b, ec)) return true;
  return a.lexically_normal() == b.lexically_normal();
}

// An argument of a desktop entry's Exec key: quoted when it holds anything but plain
// characters, with the quoting and escaping rules of desktop entries.
std::string ExecArgument(const std::string& argument) {
  std::string quoted;
  bool plain = !argument.empty();
  for (char c : argument) {
    if (c == '"' || c == '`' || c == '$' || c == '\\') {
      quoted += "\\\\";  // the Exec rule's backslash, itself escaped as a desktop-entry string
      plain = false;
    } else if (c == ' ' || c == '\t' || c == '\'' || c == '>' || c == '<' || c == '~' ||
               c == '|' || c == '&' || c == ';' || c == '*' || c == '?' || c == '#' ||
               c == '(' || c == ')') {
      plain = false;
    }
    quoted += c == '%' ? std::string("%%") : std::string(1, c);
  }
  return plain ? quoted : "\"" + quoted + "\"";
}

}  // namespace

std::string UserConfigHome(const char* xdg_config_home, const char* home) {
  if (xdg_config_home != nullptr && fs::path(xdg_config_home).is_absolute()) {
    return xdg_config_home;
  }
  if (home != nullptr && fs::path(home).is_absolute()) return (fs::path(home) / ".config").string();
  return {};
}

FilesFolder ChooseFilesFolder(const std::optional<std::string>& home_option,
                              const ProgramLocation& program, const InstallLayout& layout,
                              const std::string& config_home) {
  if (home_option) return {FilesPlace::kHomeOption, fs::absolute(*home_option).string()};
  const fs::path folder = fs::path(program.executable).parent_path();
  const bool installed = !layout.bin_dir.empty() && SameFolder(folder, layout.bin_dir);
  if (program.folder_writable && !installed) {
    return {FilesPlace::kBesideProgram, folder.string()};
  }
  if (config_home.empty()) return {FilesPlace::kUserConfig, {}};
  return {FilesPlace::kUserConfig, (fs::path(config_home) / "chimewell").string()};
}

std::string AutostartCommand(const std::string& executable,
                             const std::optional<std::string>& home_option) {
  std::string command = ExecArgument(executable);
  if (home_option) command += " --home " + ExecArgument(fs::absolute(*home_option).string());
  return command;
}

std::optional<AppPaths> ResolveAppPaths(const std::optional<std::string>& home_option,
                                        const ProgramLocation& program,
                                        const InstallLayout& layout,
                                        const std::string& config_home, std::string& error) {
  const FilesFolder chosen = ChooseFilesFolder(home_option, program, layout, config_home);
  if (chosen.folder.empty()) {
    error = "cannot find the settings folder: neither XDG_CONFIG_HOME nor HOME is set";
    return std::nullopt;
  }
  const ProgramData data = FindProgramData(program.executable, layout);
  auto paths = chosen.place == FilesPlace::kBesideProgram
                   ? PrepareFilesFolder(PathsBesideExecutable(program.executable), data, error)
                   : PrepareFilesFolder(PathsInHome(chosen.folder), data, error);
  if (!paths) return std::nullopt;
  if (!config_home.empty()) {
    paths->autostart.path =
        (fs::path(config_home) / "autostart" / (layout.app_id + ".desktop")).string();
  }
  paths->autostart.command = AutostartCommand(program.executable, home_option);
  paths->autostart.program = program.executable;
  paths->autostart.icon = layout.app_id;
  return paths;
}

}  // namespace chimewell
