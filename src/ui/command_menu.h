#pragma once
// The popup menu of commands, built from the application's menu layout and showing its state.
#include <QActionGroup>
#include <QMenu>
#include <functional>
#include <map>

#include "app/menu_state.h"

namespace chimewell {

class CommandMenu {
 public:
  explicit CommandMenu(QWidget* parent);

  // Check marks and the Skip item's enabled flag as the menu state has them.
  void Sync(const MenuState& state);
  QMenu& Menu() { return menu_; }
  QAction& Action(MenuItem item) { return *actions_.at(item); }
  // Opens the menu at a screen position and returns at once; a chosen item is reported later.
  void PopupAt(QPoint global) { menu_.popup(global); }
  // Opens the menu and returns when it has closed (after the chosen command has run).
  void ExecAt(QPoint global) { menu_.exec(global); }

  // The user chose an item.
  std::function<void(MenuItem)> OnChoose;

 private:
  QMenu menu_;
  QMenu* count_menu_ = nullptr;
  QActionGroup count_group_;
  std::map<MenuItem, QAction*> actions_;
};

}  // namespace chimewell
