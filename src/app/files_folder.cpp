#include "app/files_folder.h"

#include <filesystem>
#include <system_error>

namespace chimewell {

std::optional<AppPaths> PrepareFilesFolder(AppPaths paths, const ProgramData& data,
                                           std::string& error) {
  namespace fs = std::filesystem;
  const fs::path folder = fs::path(paths.settings).parent_path();
  std::error_code ec;
  fs::create_directories(folder, ec);
  if (ec || !fs::is_directory(folder)) {
    error = "cannot use " + folder.string() + " for the settings" +
            (ec ? ": " + ec.message() : "");
    return std::nullopt;
  }
  paths.user_guide = data.user_guide;
  paths.chimes = data.chimes;
  if (!data.page_template.empty() && !fs::exists(paths.page_template)) {
    fs::copy_file(data.page_template, paths.page_template, ec);
    if (ec) {
      error = "cannot copy the page template to " + paths.page_template + ": " + ec.message();
      return std::nullopt;
    }
  }
  return paths;
}

}  // namespace chimewell
