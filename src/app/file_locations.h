#pragma once
// Which folder holds the user's files. An installed program keeps them in the user's config
// folder; a build tree or a portable copy, whose folder its user may write, keeps them beside
// itself; --home names the folder outright.
#include <optional>
#include <string>

#include "app/app_paths.h"
#include "app/program_data.h"

namespace chimewell {

enum class FilesPlace { kHomeOption, kBesideProgram, kUserConfig };

struct FilesFolder {
  FilesPlace place;
  std::string folder;  // for kUserConfig empty when the user's config folder is unknown
};

// What start-up knows about the running program.
struct ProgramLocation {
  std::string executable;       // absolute path
  bool folder_writable = false; // whether this user may write the executable's folder
};

// $XDG_CONFIG_HOME, else $HOME/.config; a relative value does not count. Empty when unknown.
std::string UserConfigHome(const char* xdg_config_home, const char* home);

FilesFolder ChooseFilesFolder(const std::optional<std::string>& home_option,
                              const ProgramLocation& program, const InstallLayout& layout,
                              const std::string& config_home);

// The Exec line of the login entry: the program by its full path, and the --home it was given.
std::string AutostartCommand(const std::string& executable,
                             const std::optional<std::string>& home_option);

// Chooses the folder, creates it with the default page template copied in when it lacks one,
// and names every file. Returns nullopt with the reason in `error` when the folder cannot be
// used.
std::optional<AppPaths> ResolveAppPaths(const std::optional<std::string>& home_option,
                                        const ProgramLocation& program,
                                        const InstallLayout& layout,
                                        const std::string& config_home, std::string& error);

}  // namespace chimewell
