#pragma once
// The named keys other machines use for the clock's API, kept in the settings file as hashes
// only: [API] Token1..Token20, each "<hash> <name>", an empty slot for none.
#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

namespace chimewell {

struct ApiTokenRecord {
  std::string name;
  std::string hash;  // hexadecimal
};

inline constexpr size_t kMaxApiTokens = 20;

// In slot order; slots that do not hold a hash and a name are skipped.
std::vector<ApiTokenRecord> ReadApiTokens(const std::filesystem::path& settings_file);
// Writes every slot, `tokens` first and the rest empty (at most kMaxApiTokens are kept).
// Throws IniWriteError when the file cannot be written; it is then unchanged.
void WriteApiTokens(const std::filesystem::path& settings_file,
                    const std::vector<ApiTokenRecord>& tokens);

}  // namespace chimewell
