#pragma once
// What became of a new key for the API, as the page is told.

namespace chimewell {

enum class ApiTokenChange { kAdded, kBadName, kNameTaken, kFull };

}  // namespace chimewell
