#pragma once
// The files a schedule names, with the built-in chimes known by their bare names: "pips"
// stands for the pips' file in the chimes folder, anything else for itself.
#include <string>

#include "platform/file_system.h"

namespace chimewell {

// Used by whoever owns the schedule; `files` must outlive it.
class SoundNames final : public FileSystem {
 public:
  explicit SoundNames(const FileSystem& files) : files_(files) {}

  // Where the chimes that come with the program lie (empty: none are known).
  void SetChimeFolder(std::string folder) { chime_folder_ = std::move(folder); }
  const std::string& ChimeFolder() const { return chime_folder_; }

  // The path of the file a schedule line names.
  std::string Resolve(const std::string& name) const;

  bool FileExists(const std::string& path) const override;
  std::optional<std::string> ReadFile(const std::string& path, FileKind kind) const override;

 private:
  const FileSystem& files_;
  std::string chime_folder_;
};

}  // namespace chimewell
