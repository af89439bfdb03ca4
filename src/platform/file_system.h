#pragma once
// File-system access the core needs, behind a seam so tests need no real files.
#include <optional>
#include <string>

#include "core/bounded_file.h"

namespace chimewell {

class FileSystem {
 public:
  virtual ~FileSystem() = default;
  virtual bool FileExists(const std::string& path) const = 0;
  // The whole file, or nullopt when it cannot be read, is not a regular file or is larger than
  // files of its kind may be.
  virtual std::optional<std::string> ReadFile(const std::string& path, FileKind kind) const = 0;
};

class RealFileSystem final : public FileSystem {
 public:
  bool FileExists(const std::string& path) const override;
  std::optional<std::string> ReadFile(const std::string& path, FileKind kind) const override;
};

}  // namespace chimewell
