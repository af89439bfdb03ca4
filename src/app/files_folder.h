#pragma once
// The folder of the user's files, made ready for a first start.
#include <optional>
#include <string>

#include "app/app_paths.h"
#include "app/program_data.h"

namespace chimewell {

// Creates the folder of `paths` if needed and copies the default page template into it when it
// has none; the user's guide is the program's own. Returns nullopt with the reason in `error`
// when the folder cannot be made or the template cannot be copied.
std::optional<AppPaths> PrepareFilesFolder(AppPaths paths, const ProgramData& data,
                                           std::string& error);

}  // namespace chimewell
