#include "schedule/sound_names.h"

#include <algorithm>

#include "schedule/builtin_chimes.h"

namespace chimewell {

std::string SoundNames::Resolve(const std::string& name) const {
  if (chime_folder_.empty()) return name;
  const bool built_in = std::any_of(kBuiltInChimes.begin(), kBuiltInChimes.end(),
                                    [&name](const BuiltInChime& c) { return c.name == name; });
  if (!built_in) return name;
  return chime_folder_ + "/" + name + std::string(kChimeExtension);
}

bool SoundNames::FileExists(const std::string& path) const {
  return files_.FileExists(Resolve(path));
}

std::optional<std::string> SoundNames::ReadFile(const std::string& path, FileKind kind) const {
  return files_.ReadFile(Resolve(path), kind);
}

}  // namespace chimewell
