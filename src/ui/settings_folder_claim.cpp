#include "ui/settings_folder_claim.h"

#include <QMessageBox>
#include <filesystem>
#include <iostream>

#include "platform/linux/instance_channel.h"
#include "ui/ui_texts.h"

namespace chimewell {
namespace {

std::string LockFileFor(const std::string& settings_file) {
  return InstanceLockFile(settings_file);
}

}  // namespace

SettingsFolderClaim::SettingsFolderClaim(const std::string& lock_file) : lock_(lock_file) {}

std::unique_ptr<SettingsFolderClaim> SettingsFolderClaim::Take(const std::string& settings_file,
                                                               bool with_window) {
  const std::string lock_file = LockFileFor(settings_file);
  std::unique_ptr<SettingsFolderClaim> claim(new SettingsFolderClaim(lock_file));
  if (claim->lock_.Result() != SettingsFolderLock::Outcome::kHeldElsewhere) {
    // A folder that cannot be locked (read-only, a file system without locks) still runs a
    // clock; it only cannot keep a second one out.
    if (claim->lock_.Result() == SettingsFolderLock::Outcome::kUnavailable) {
      std::cerr << "chimewell: " << ui_texts::kCannotLockFolder << claim->lock_.Error() << "\n";
    }
    SettingsFolderClaim* self = claim.get();
    claim->listener_ = std::make_unique<ShowRequestListener>(ShowRequestName(lock_file), [self] {
      if (self->show_) self->show_();
    });
    return claim;
  }
  std::cerr << ui_texts::kAlreadyRunning << std::endl;
  RequestShow(ShowRequestName(lock_file));
  if (with_window) {
    QMessageBox::information(nullptr, QString::fromUtf8(ui_texts::kCaption),
                             QString::fromUtf8(ui_texts::kAlreadyRunning));
  }
  return nullptr;
}

}  // namespace chimewell
