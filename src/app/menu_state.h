#pragma once
// The popup menu's check marks and enabled flags: the only store of pause, mute and count.
#include <array>
#include <string_view>

namespace chimewell {

// Every item of the popup menu, in display order.
enum class MenuItem {
  PM_Config,
  PM_About,
  PM_Exit,
  PM_URL,
  PM_Clock,
  PM_Current,
  PM_TempCountOff,
  PM_TempCount05,
  PM_TempCount10,
  PM_TempCount15,
  PM_TempCount30,
  PM_TempCount60,
  PM_Pause,
  PM_Mute,
  PM_Skip,
  PM_Clear,
};

// One row of the menu as the window shows it; separator and submenu-end rows carry no item.
struct MenuRow {
  bool separator = false;
  bool submenu_start = false;  // the row opens the "Second Count" submenu
  bool submenu_end = false;    // the row closes it (no caption)
  MenuItem item = MenuItem::PM_Config;
  std::string_view caption;
};

// The menu in display order, with the exact captions.
const std::array<MenuRow, 21>& MenuLayout();

// What the window shows of the menu's state; owned by the application object.
class MenuState {
 public:
  bool Paused() const { return paused_; }
  bool Muted() const { return muted_; }
  bool SkipEnabled() const { return skip_enabled_; }
  void SetPaused(bool on) { paused_ = on; }
  void SetMuted(bool on) { muted_ = on; }
  void SetSkipEnabled(bool on) { skip_enabled_ = on; }

  // The checked count item (PM_TempCountOff .. PM_TempCount60); checking one unchecks the rest.
  MenuItem CountItem() const { return count_item_; }
  void CheckCount(MenuItem item);
  bool IsChecked(MenuItem item) const;
  // 60, 30, 15, 10 or 5 for the checked count item, 0 when the count is off.
  int CountInterval() const;

 private:
  bool paused_ = false;
  bool muted_ = false;
  bool skip_enabled_ = true;
  MenuItem count_item_ = MenuItem::PM_TempCountOff;
};

bool IsCountItem(MenuItem item);
// The count item for an interval in seconds; PM_TempCountOff for one the menu does not offer.
MenuItem CountItemFor(int seconds);

}  // namespace chimewell
