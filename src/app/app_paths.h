#pragma once
// Where the program's four files live: beside the executable, or in the --home folder.
#include <string>

namespace chimewell {

struct AppPaths {
  std::string settings;      // .ini
  std::string app_info;      // .imi
  std::string schedule;      // .sch
  std::string page_template; // .html
  std::string user_guide;    // doc/index.html
};

// Files named after `executable_path` with its extension replaced, in its folder.
AppPaths PathsBesideExecutable(const std::string& executable_path);
// Files named chimewell.* in `home`.
AppPaths PathsInHome(const std::string& home);

}  // namespace chimewell
