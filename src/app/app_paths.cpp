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
  return {with(".ini"),  with(".imi"), with(".sch"), with(".hol"), with(".html"),
          (stem_path.parent_path() / "doc" / "index.html").string(), AutostartEntry{}};
}

}  // namespace

AppPaths PathsBesideExecutable(const std::string& executable_path) {
  return PathsFor(std::filesystem::absolute(executable_path));
}

AppPaths PathsInHome(const std::string& home) {
  return PathsFor(std::filesystem::absolute(home) / "chimewell");
}

}  // namespace chimewell
