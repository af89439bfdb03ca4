#pragma once
// The time-signal settings form (marker JIHOSET): voice type and folder, format, error switch
// and the add-on files.
#include <array>
#include <string>

#include "core/settings.h"
#include "web/request_context.h"

namespace chimewell {

// Saves the form into [Jiho] (with the recent-folder list), reloads the time signal from the
// file and reports what the reload found. The values stay saved when it found problems.
bool HandleJihoForm(RequestContext& ctx);

// The recent folders after choosing `folder`: it comes first (even when empty), followed by
// the non-empty old entries that differ from it in more than ASCII letter case; at most 20.
std::array<std::string, kRecentFolderCount> UpdateRecentFolders(
    const std::array<std::string, kRecentFolderCount>& old_folders, const std::string& folder);

}  // namespace chimewell
