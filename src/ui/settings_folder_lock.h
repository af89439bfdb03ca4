#pragma once
// One clock per settings folder: an exclusive lock on a file in the folder, held while the
// program runs. The kernel drops it when the process ends, however it ends, so a killed clock
// leaves no stale lock behind.
#include <string>

namespace chimewell {

class SettingsFolderLock {
 public:
  enum class Outcome {
    kTaken,          // this process holds the folder
    kHeldElsewhere,  // another running process holds it
    kUnavailable,    // the lock file cannot be opened or locked: see Error()
  };

  // Makes `lock_file` when it is missing and tries to lock it without waiting.
  explicit SettingsFolderLock(const std::string& lock_file);
  ~SettingsFolderLock();
  SettingsFolderLock(const SettingsFolderLock&) = delete;
  SettingsFolderLock& operator=(const SettingsFolderLock&) = delete;

  Outcome Result() const { return outcome_; }
  const std::string& Error() const { return error_; }

 private:
  int fd_ = -1;
  Outcome outcome_ = Outcome::kUnavailable;
  std::string error_;
};

}  // namespace chimewell
