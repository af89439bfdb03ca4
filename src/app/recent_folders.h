#pragma once
// The time-signal settings' list of recently chosen voice folders.
#include <array>
#include <string>

#include "core/settings.h"

namespace chimewell {

// The recent folders after choosing `folder`: it comes first (even when empty), followed by
// the non-empty old entries that differ from it in more than ASCII letter case; at most 20.
std::array<std::string, kRecentFolderCount> UpdateRecentFolders(
    const std::array<std::string, kRecentFolderCount>& old_folders, const std::string& folder);

}  // namespace chimewell
