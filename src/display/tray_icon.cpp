#include "display/tray_icon.h"

#include <exception>

namespace chimewell {

std::string TrayTipText(std::string_view hint) {
  size_t chars = 0;
  size_t i = 0;
  while (i < hint.size() && chars < kTrayTipMaxChars) {
    ++i;
    // Continuation bytes belong to the character already counted.
    while (i < hint.size() && (static_cast<unsigned char>(hint[i]) & 0xC0) == 0x80) ++i;
    ++chars;
  }
  return std::string(hint.substr(0, i));
}

std::vector<TrayMouseMessage> MouseMessagesOf(TrayActivation action) {
  switch (action) {
    case TrayActivation::kTrigger:
      return {TrayMouseMessage::kLeftDown, TrayMouseMessage::kLeftUp};
    case TrayActivation::kContext:
      return {TrayMouseMessage::kRightDown, TrayMouseMessage::kRightUp};
    case TrayActivation::kDoubleClick:
      return {TrayMouseMessage::kLeftDoubleClick};
    case TrayActivation::kMiddleClick:
      return {TrayMouseMessage::kMiddleDown, TrayMouseMessage::kMiddleUp};
  }
  return {};
}

TTaskTrayIcon::~TTaskTrayIcon() {
  if (visible_) ShellNotify(Action::kDelete);
}

void TTaskTrayIcon::Loaded() {
  if (visible_) ShellNotify(Action::kAdd);
}

void TTaskTrayIcon::SetHint(std::string hint) {
  if (hint == hint_) return;
  hint_ = std::move(hint);
  if (visible_) ShellNotify(Action::kModify);
}

void TTaskTrayIcon::SetVisible(bool visible) {
  if (visible == visible_) return;
  visible_ = visible;
  ShellNotify(visible ? Action::kAdd : Action::kDelete);
}

void TTaskTrayIcon::IconChanged() {
  if (visible_) ShellNotify(Action::kModify);
}

void TTaskTrayIcon::QueryEndSession() { area_.DeleteIcon(); }

void TTaskTrayIcon::ShellNotify(Action action) {
  switch (action) {
    case Action::kAdd:
      area_.AddIcon(TrayTipText(hint_));
      break;
    case Action::kModify:
      if (visible_) area_.ModifyIcon(TrayTipText(hint_));
      break;
    case Action::kDelete:
      area_.DeleteIcon();
      break;
  }
}

void TTaskTrayIcon::MouseMessage(TrayMouseMessage message, int x, int y) {
  try {
    Dispatch(message, x, y);
  } catch (const std::exception& e) {
    if (OnError) OnError(e.what());
  } catch (...) {
    if (OnError) OnError("unknown error");
  }
}

void TTaskTrayIcon::Dispatch(TrayMouseMessage message, int x, int y) {
  switch (message) {
    case TrayMouseMessage::kMove:
      if (OnMouseMove) OnMouseMove(0, x, y);
      break;
    case TrayMouseMessage::kLeftDown:
      ButtonDown(TrayButton::kLeft, kShiftLeft, &PopUpMenuL, x, y);
      break;
    case TrayMouseMessage::kLeftUp:
      ButtonUp(TrayButton::kLeft, kShiftLeft, x, y);
      break;
    case TrayMouseMessage::kLeftDoubleClick:
      DoubleClick(TrayButton::kLeft, x, y);
      break;
    case TrayMouseMessage::kRightDown:
      ButtonDown(TrayButton::kRight, kShiftRight, &PopUpMenuR, x, y);
      break;
    case TrayMouseMessage::kRightUp:
      ButtonUp(TrayButton::kRight, kShiftRight, x, y);
      break;
    case TrayMouseMessage::kRightDoubleClick:
      DoubleClick(TrayButton::kRight, x, y);
      break;
    case TrayMouseMessage::kMiddleDown:
      ButtonDown(TrayButton::kMiddle, kShiftMiddle, nullptr, x, y);
      break;
    case TrayMouseMessage::kMiddleUp:
      ButtonUp(TrayButton::kMiddle, kShiftMiddle, x, y);
      break;
  }
}

void TTaskTrayIcon::ButtonDown(TrayButton button, unsigned shift, const PopupMenu* menu, int x,
                               int y) {
  if (menu != nullptr) {
    Forward();
    // The menu returns once closed, so the event below comes after any command it ran.
    if (*menu) (*menu)(x, y);
  }
  if (OnMouseDown) OnMouseDown(button, shift, x, y);
}

void TTaskTrayIcon::ButtonUp(TrayButton button, unsigned shift, int x, int y) {
  if (OnMouseUp) OnMouseUp(button, shift, x, y);
  if (OnClick) OnClick();
}

void TTaskTrayIcon::DoubleClick(TrayButton button, int x, int y) {
  Forward();
  if (OnDblClick) OnDblClick();
  if (OnMouseDown) OnMouseDown(button, kShiftDouble, x, y);
}

void TTaskTrayIcon::Forward() {
  if (BringOwnerForward) BringOwnerForward();
}

}  // namespace chimewell
