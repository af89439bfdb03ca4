#pragma once
// The running clock's hold on its settings folder: taken before anything starts, so a second
// start with the same folder stops at once instead of announcing everything a second time.
#include <functional>
#include <memory>
#include <string>

#include "ui/settings_folder_lock.h"
#include "ui/show_request_channel.h"

namespace chimewell {

class SettingsFolderClaim {
 public:
  // Takes the folder of `settings_file`. When another clock holds it, says so on standard
  // error (and in a message box when `with_window`), asks that clock to show its window and
  // returns nothing. Needs a QApplication.
  static std::unique_ptr<SettingsFolderClaim> Take(const std::string& settings_file,
                                                   bool with_window);

  // `show` runs on the GUI thread each time a later start asks for the window.
  void OnShowRequest(std::function<void()> show) { show_ = std::move(show); }
  // `answer` runs on the GUI thread for each line a desktop shortcut sends.
  void OnLine(ShowRequestListener::LineHandler answer) {
    if (listener_) listener_->OnLine(std::move(answer));
  }

 private:
  explicit SettingsFolderClaim(const std::string& lock_file);

  SettingsFolderLock lock_;
  std::function<void()> show_;
  std::unique_ptr<ShowRequestListener> listener_;  // only while this process holds the folder
};

}  // namespace chimewell
