#include "app/app_paths.h"

#include <filesystem>

namespace chimewell {
namespace {

AppPaths PathsFor(const std::filesystem::path& stem_path) {
  auto with = [&](const char* extension) {
    std::filesystem::path p = stem_path;
    p.replace_extension(extension);
    return p.string();
  };
  AppPaths paths;
  paths.settings = with(".ini");
  paths.app_info = with(".imi");
  paths.schedule = with(".sch");
  paths.holidays = with(".hol");
  paths.page_template = with(".html");
  paths.user_guide = (stem_path.parent_path() / "doc" / "index.html").string();
  paths.calendar = with(".cal");
  paths.timetable_stem = with("");
  return paths;
}

}  // namespace

AppPaths PathsBesideExecutable(const std::string& executable_path) {
  return PathsFor(std::filesystem::absolute(executable_path));
}

AppPaths PathsInHome(const std::string& home) {
  return PathsFor(std::filesystem::absolute(home) / "chimewell");
}

}  // namespace chimewell
