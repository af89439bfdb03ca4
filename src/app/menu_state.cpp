#include "app/menu_state.h"

namespace chimewell {

const std::array<MenuRow, 21>& MenuLayout() {
  using enum MenuItem;
  static const std::array<MenuRow, 21> kLayout = {{
      {false, false, false, PM_Config, "設定の表示と編集 &Edit Config..."},
      {false, false, false, PM_About, "ポート設定 P&ort Setting..."},
      {true, false, false, PM_Config, "-"},
      {false, false, false, PM_Exit, "終了 E&xit"},
      {true, false, false, PM_Config, "-"},
      {false, false, false, PM_URL, "作者のページを表示 &Velnor Page..."},
      {false, false, false, PM_Clock, "時計画面の表示と非表示 Show/Hide &Clock"},
      {true, false, false, PM_Config, "-"},
      {false, false, false, PM_Current, "現在の時報を発声 Current &Time"},
      {false, true, false, PM_Config, "秒カウント &Second Count"},
      {false, false, false, PM_TempCountOff, "&0 カウントの解除"},
      {false, false, false, PM_TempCount05, "&1 5秒毎"},
      {false, false, false, PM_TempCount10, "&2 10秒毎"},
      {false, false, false, PM_TempCount15, "&3 15秒毎"},
      {false, false, false, PM_TempCount30, "&4 30秒毎"},
      {false, false, false, PM_TempCount60, "&5 60秒毎"},
      {false, false, true, PM_Config, ""},
      {false, false, false, PM_Pause, "一時停止／再開 &Pause"},
      {false, false, false, PM_Mute, "消音 &Mute"},
      {false, false, false, PM_Skip, "現在の演奏/再生を飛ばす Ski&p"},
      {false, false, false, PM_Clear, "現在待ちの演奏/再生を全て削除する Clear &All"},
  }};
  return kLayout;
}

bool IsCountItem(MenuItem item) {
  return item >= MenuItem::PM_TempCountOff && item <= MenuItem::PM_TempCount60;
}

void MenuState::CheckCount(MenuItem item) {
  if (IsCountItem(item)) count_item_ = item;
}

bool MenuState::IsChecked(MenuItem item) const {
  if (IsCountItem(item)) return item == count_item_;
  if (item == MenuItem::PM_Pause) return paused_;
  if (item == MenuItem::PM_Mute) return muted_;
  return false;
}

int MenuState::CountInterval() const {
  switch (count_item_) {
    case MenuItem::PM_TempCount60: return 60;
    case MenuItem::PM_TempCount30: return 30;
    case MenuItem::PM_TempCount15: return 15;
    case MenuItem::PM_TempCount10: return 10;
    case MenuItem::PM_TempCount05: return 5;
    default: return 0;
  }
}

MenuItem CountItemFor(int seconds) {
  switch (seconds) {
    case 5:
      return MenuItem::PM_TempCount05;
    case 10:
      return MenuItem::PM_TempCount10;
    case 15:
      return MenuItem::PM_TempCount15;
    case 30:
      return MenuItem::PM_TempCount30;
    case 60:
      return MenuItem::PM_TempCount60;
    default:
      return MenuItem::PM_TempCountOff;
  }
}

}  // namespace chimewell
