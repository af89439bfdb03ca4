#pragma once
// File-system access the core needs, behind a seam so tests need no real files.
#include <optional>
#include <string>

namespace chimewell {

class FileSystem {
 public:
  virtual ~FileSystem() = default;
  virtual bool FileExists(const std::string& path) const = 0;
  // The whole file, or nullopt when it cannot be read.
  virtual std::optional<std::string> ReadFile(const std::string& path) const = 0;
};

class RealFileSystem final : public FileSystem {
 public:
  bool FileExists(const std::string& path) const override;
  std::optional<std::string> ReadFile(const std::string& path) const override;
};

}  // namespace chimewell
