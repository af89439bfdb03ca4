#include "app/recent_folders.h"

#include "core/ascii_text.h"

namespace chimewell {

std::array<std::string, kRecentFolderCount> UpdateRecentFolders(
    const std::array<std::string, kRecentFolderCount>& old_folders, const std::string& folder) {
  std::array<std::string, kRecentFolderCount> updated;
  updated[0] = folder;
  size_t count = 1;
  const std::string wanted = AsciiLowerCopy(folder);
  for (const std::string& old : old_folders) {
    if (count == updated.size()) break;
    if (!old.empty() && AsciiLowerCopy(old) != wanted) updated[count++] = old;
  }
  return updated;
}

}  // namespace chimewell
