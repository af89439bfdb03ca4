#pragma once
// The notification-area icon's behaviour: when it is added, changed or removed, and what each
// mouse action on it does. The platform's tray sits behind NotificationArea.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace chimewell {

// The platform's notification area, holding at most this one icon of ours.
class NotificationArea {
 public:
  virtual ~NotificationArea() = default;
  virtual void AddIcon(std::string_view tip) = 0;
  virtual void ModifyIcon(std::string_view tip) = 0;
  virtual void DeleteIcon() = 0;
};

// Mouse actions on the icon, as the notification area reports them.
enum class TrayMouseMessage {
  kMove,
  kLeftDown,
  kLeftUp,
  kLeftDoubleClick,
  kRightDown,
  kRightUp,
  kRightDoubleClick,
  kMiddleDown,
  kMiddleUp,
};

enum class TrayButton { kLeft, kRight, kMiddle };

// Shift-state bits handed to the mouse events.
enum TrayShiftBit : unsigned {
  kShiftLeft = 1,
  kShiftRight = 2,
  kShiftMiddle = 4,
  kShiftDouble = 8,
};

// The longest tip the notification area shows, in characters.
inline constexpr size_t kTrayTipMaxChars = 63;
// The hint as the tip shows it: its first 63 characters, never a broken UTF-8 sequence.
std::string TrayTipText(std::string_view hint);

// Desktop trays (Qt's among them) report whole actions instead of button transitions.
enum class TrayActivation { kTrigger, kContext, kDoubleClick, kMiddleClick };
// The mouse messages an action stands for, in order.
std::vector<TrayMouseMessage> MouseMessagesOf(TrayActivation action);

class TTaskTrayIcon {
 public:
  // Shows a popup menu at a screen position and returns when it has closed.
  using PopupMenu = std::function<void(int x, int y)>;
  using MouseEvent = std::function<void(TrayButton button, unsigned shift, int x, int y)>;

  explicit TTaskTrayIcon(NotificationArea& area) : area_(area) {}
  ~TTaskTrayIcon();
  TTaskTrayIcon(const TTaskTrayIcon&) = delete;
  TTaskTrayIcon& operator=(const TTaskTrayIcon&) = delete;

  // Once the owner has set everything up: puts the icon in place when Visible.
  void Loaded();

  const std::string& Hint() const { return hint_; }
  void SetHint(std::string hint);
  bool Visible() const { return visible_; }
  void SetVisible(bool visible);
  // The picture changed; the tray is told when the icon shows.
  void IconChanged();

  // Handles one mouse action at screen position (x, y).
  void MouseMessage(TrayMouseMessage message, int x, int y);
  // The session ends: the icon goes, whatever Visible says.
  void QueryEndSession();

  PopupMenu PopUpMenuL;
  PopupMenu PopUpMenuR;
  std::function<void()> OnClick;
  std::function<void()> OnDblClick;
  std::function<void(unsigned shift, int x, int y)> OnMouseMove;
  MouseEvent OnMouseDown;
  MouseEvent OnMouseUp;
  // Raises the owner's window so that a popup menu closes when the user clicks elsewhere.
  std::function<void()> BringOwnerForward;
  // The application's error display; an error from a handler goes here and no further.
  std::function<void(const std::string& message)> OnError;

 private:
  enum class Action { kAdd, kModify, kDelete };
  void ShellNotify(Action action);
  void Dispatch(TrayMouseMessage message, int x, int y);
  void ButtonDown(TrayButton button, unsigned shift, const PopupMenu* menu, int x, int y);
  void ButtonUp(TrayButton button, unsigned shift, int x, int y);
  void DoubleClick(TrayButton button, int x, int y);
  void Forward();

  NotificationArea& area_;
  std::string hint_;
  bool visible_ = true;
};

}  // namespace chimewell
