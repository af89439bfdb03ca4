#pragma once
// The option lists and input tables the program generates for the page: font families, recent
// voice folders and the time-signal add-on files.
#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "core/settings.h"
#include "platform/font_catalog.h"

namespace chimewell {

// A family as the font catalogue reports it; the type bits are shown beside its name.
using FontFamily = FontFamilyInfo;

// One <OPTION> per family in the given order; the family named exactly `current` is SELECTED.
std::string BuildFontOptions(const std::vector<FontFamily>& families, std::string_view current);

// One <OPTION> per non-empty recent folder; those equal to `current_folder` are SELECTED.
std::string BuildRecentFolderOptions(
    const std::array<std::string, kRecentFolderCount>& last_folders,
    std::string_view current_folder);

enum class AddOnKind { kAddOn, kAddOff };

// A table of 16 text inputs JIHOADDON1..16 (or JIHOADDOFF1..16), two to a row.
std::string BuildAddOnTable(AddOnKind kind, const std::array<std::string, kAddOnCount>& texts);

}  // namespace chimewell
