#include "core/api_token_list.h"

#include "core/ini_file.h"

namespace chimewell {
namespace {

constexpr const char* kSection = "API";

std::string SlotKey(size_t index) { return "Token" + std::to_string(index + 1); }

}  // namespace

std::vector<ApiTokenRecord> ReadApiTokens(const std::filesystem::path& settings_file) {
  const IniFile ini(settings_file);
  std::vector<ApiTokenRecord> tokens;
  for (size_t i = 0; i < kMaxApiTokens; ++i) {
    const std::string value = ini.ReadString(kSection, SlotKey(i), "");
    const size_t space = value.find(' ');
    if (space == 0 || space == std::string::npos || space + 1 == value.size()) continue;
    tokens.push_back({value.substr(space + 1), value.substr(0, space)});
  }
  return tokens;
}

void WriteApiTokens(const std::filesystem::path& settings_file,
                    const std::vector<ApiTokenRecord>& tokens) {
  IniFile ini(settings_file);
  for (size_t i = 0; i < kMaxApiTokens; ++i) {
    ini.WriteString(kSection, SlotKey(i),
                    i < tokens.size() ? tokens[i].hash + " " + tokens[i].name : std::string());
  }
  ini.Save();
}

}  // namespace chimewell
