#include "ui/command_menu.h"

namespace chimewell {
namespace {

bool IsCheckItem(MenuItem item) {
  return IsCountItem(item) || item == MenuItem::PM_Pause || item == MenuItem::PM_Mute;
}

}  // namespace

CommandMenu::CommandMenu(QWidget* parent) : menu_(parent), count_group_(&menu_) {
  count_group_.setExclusive(true);
  QMenu* target = &menu_;
  for (const MenuRow& row : MenuLayout()) {
    if (row.separator) {
      target->addSeparator();
      continue;
    }
    if (row.submenu_end) {
      target = &menu_;
      continue;
    }
    const QString caption =
        QString::fromUtf8(row.caption.data(), static_cast<qsizetype>(row.caption.size()));
    if (row.submenu_start) {
      count_menu_ = menu_.addMenu(caption);
      target = count_menu_;
      continue;
    }
    QAction* action = target->addAction(caption);
    const MenuItem item = row.item;
    if (IsCheckItem(item)) action->setCheckable(true);
    if (IsCountItem(item)) count_group_.addAction(action);
    // The application moves the check marks itself; the menu only reports the choice.
    QObject::connect(action, &QAction::triggered, [this, item] {
      if (OnChoose) OnChoose(item);
    });
    actions_[item] = action;
  }
}

void CommandMenu::Sync(const MenuState& state) {
  for (auto& [item, action] : actions_) {
    if (action->isCheckable()) action->setChecked(state.IsChecked(item));
  }
  actions_.at(MenuItem::PM_Skip)->setEnabled(state.SkipEnabled());
}

}  // namespace chimewell
