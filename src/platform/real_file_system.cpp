#include <sys/stat.h>

#include "platform/file_system.h"

namespace chimewell {

bool RealFileSystem::FileExists(const std::string& path) const {
  struct stat st {};
  return !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::optional<std::string> RealFileSystem::ReadFile(const std::string& path,
                                                    FileKind kind) const {
  return ReadRegularFile(path, kind);
}

}  // namespace chimewell
