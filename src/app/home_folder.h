#pragma once
// The program's files in a folder of the user's choice (--home), made ready for a first start.
#include <optional>
#include <string>

#include "app/app_paths.h"

namespace chimewell {

// Creates `home` if needed and copies the default page template into it when it has none.
// The user's guide stays the one installed with the program. Returns nullopt with the reason
// in `error` when the folder cannot be made or the template cannot be copied.
std::optional<AppPaths> PrepareHomeFolder(const std::string& home, const AppPaths& installed,
                                          std::string& error);

}  // namespace chimewell
