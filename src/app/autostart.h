#pragma once
// Starting the clock at login: a desktop entry in the user's autostart folder.
#include "app/app_paths.h"

namespace chimewell {

bool AutostartEnabled(const AutostartEntry& entry);
// Writes the entry, or removes it. Throws FileWriteError when the file cannot be written or
// removed, or its place is unknown.
void SetAutostart(const AutostartEntry& entry, bool enabled);
// The text of the entry.
std::string AutostartDesktopEntry(const AutostartEntry& entry);

}  // namespace chimewell
