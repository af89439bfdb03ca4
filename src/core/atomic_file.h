#pragma once
// Replacing a whole file in one step, so that readers and a crash see the old or the new file,
// never a mixture.
#include <filesystem>
#include <stdexcept>
#include <string_view>

namespace chimewell {

// A file could not be written; what() is "<path> に書き込めません".
class FileWriteError : public std::runtime_error {
 public:
  explicit FileWriteError(const std::filesystem::path& path);
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

// Writes `content` to a new temporary file in the same folder, flushes it to disk and renames it
// over `path` (through a symbolic link, to the file it names), keeping the old file's
// permissions. Throws FileWriteError when any step fails; the old file is then left as it was.
void ReplaceFile(const std::filesystem::path& path, std::string_view content);

// Removes the temporary files that interrupted replacements of `path` left beside it (named
// by ReplaceFile after the file and the writing process) when that process is gone; nothing
// else is touched. Returns how many were removed.
size_t RemoveStaleTemporaries(const std::filesystem::path& path);

}  // namespace chimewell
