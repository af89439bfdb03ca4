#pragma once
// Files held in a map, so loading and composing can be tested without a disk.
#include <map>
#include <set>
#include <string>

#include "platform/file_system.h"

namespace chimewell::testing {

class MemoryFileSystem final : public FileSystem {
 public:
  void Add(const std::string& path, std::string bytes = {}) { files_[path] = std::move(bytes); }
  // A file that exists but cannot be read.
  void AddUnreadable(const std::string& path) { unreadable_.insert(path); }
  void Remove(const std::string& path) { files_.erase(path); }

  bool FileExists(const std::string& path) const override {
    return files_.count(path) > 0 || unreadable_.count(path) > 0;
  }
  // Holds files to the same size limits as the real reader.
  std::optional<std::string> ReadFile(const std::string& path, FileKind kind) const override {
    const auto it = files_.find(path);
    if (it == files_.end() || it->second.size() > MaxFileBytes(kind)) return std::nullopt;
    return it->second;
  }

 private:
  std::map<std::string, std::string> files_;
  std::set<std::string> unreadable_;
};

}  // namespace chimewell::testing
