#pragma once
// Where the program's files live, the guide it serves, and its login entry.
#include <string>

namespace chimewell {

// The desktop entry that starts the clock at login, and the command line it runs.
struct AutostartEntry {
  std::string path;     // empty when the user's config folder is unknown
  std::string command;  // the entry's Exec value
  std::string icon;     // the entry's Icon value: the program's icon by its theme name
  // The entry's TryExec value, the program itself: once it is removed, desktops skip the entry.
  std::string program = {};
};

struct AppPaths {
  std::string settings;       // .ini
  std::string app_info;       // .imi
  std::string schedule;       // .sch
  std::string holidays;       // .hol: the user's own days off
  std::string page_template;  // .html
  std::string user_guide;     // doc/index.html
  AutostartEntry autostart;
};

// Files named after `executable_path` with its extension replaced, in its folder.
AppPaths PathsBesideExecutable(const std::string& executable_path);
// Files named chimewell.* in `home`.
AppPaths PathsInHome(const std::string& home);

}  // namespace chimewell
