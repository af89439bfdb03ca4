#include "app/home_folder.h"

#include <filesystem>
#include <system_error>

namespace chimewell {

std::optional<AppPaths> PrepareHomeFolder(const std::string& home, const AppPaths& installed,
                                          std::string& error) {
  namespace fs = std::filesystem;
  std::error_code ec;
  fs::create_directories(home, ec);
  if (ec || !fs::is_directory(home)) {
    error = "cannot use " + home + " as the home folder" + (ec ? ": " + ec.message() : "");
    return std::nullopt;
  }
  AppPaths paths = PathsInHome(home);
  paths.user_guide = installed.user_guide;
  if (!fs::exists(paths.page_template) && fs::exists(installed.page_template)) {
    fs::copy_file(installed.page_template, paths.page_template, ec);
    if (ec) {
      error = "cannot copy the page template to " + paths.page_template + ": " + ec.message();
      return std::nullopt;
    }
  }
  return paths;
}

}  // namespace chimewell
