#include <sys/stat.h>

#include <fstream>
#include <sstream>

#include "platform/file_system.h"

namespace chimewell {

bool RealFileSystem::FileExists(const std::string& path) const {
  struct stat st {};
  return !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::optional<std::string> RealFileSystem::ReadFile(const std::string& path) const {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::ostringstream buffer;
  buffer << in.rdbuf();
  if (in.bad()) return std::nullopt;
  return buffer.str();
}

}  // namespace chimewell
