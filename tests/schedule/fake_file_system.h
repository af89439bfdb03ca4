#pragma once
// A file system for tests that holds a handful of named files in memory.
#include <map>
#include <string>

#include "platform/file_system.h"

namespace chimewell::testing {

class FakeFileSystem final : public FileSystem {
 public:
  void Add(const std::string& path, std::string content = {}) { files_[path] = std::move(content); }
  bool FileExists(const std::string& path) const override { return files_.contains(path); }
  std::optional<std::string> ReadFile(const std::string& path) const override {
    const auto it = files_.find(path);
    if (it == files_.end()) return std::nullopt;
    return it->second;
  }

 private:
  std::map<std::string, std::string> files_;
};

}  // namespace chimewell::testing
