#pragma once
// What the application object needs of its window; the Qt window implements it, tests fake it.
#include <string>

namespace chimewell {

class Canvas;

struct WindowBounds {
  int left = 245;
  int top = 106;
  int width = 391;
  int height = 287;
};

class AppView {
 public:
  virtual ~AppView() = default;

  virtual bool IsShowing() const = 0;
  virtual void ShowWindow() = 0;
  virtual void HideWindow() = 0;
  // Closes the window for good; the application's Close() has already run.
  virtual void CloseWindow() = 0;
  // Lets the window system handle what is pending (repaints after a show or a redraw).
  virtual void ProcessPendingEvents() = 0;
  virtual WindowBounds Bounds() const = 0;
  virtual void SetBounds(const WindowBounds& bounds) = 0;

  // The clock face's drawing surface, sized to the window, and showing what was drawn.
  virtual Canvas& ClockCanvas() = 0;
  virtual void PresentClock() = 0;

  virtual void SetStatusText(const std::string& text) = 0;
  virtual void SetStatusVisible(bool visible) = 0;
  virtual void ShowMessagePanel(const std::string& text) = 0;
  virtual void HideMessagePanel() = 0;
  // The about panel; with `port_controls` it carries the port label, field and button.
  virtual void SetAboutPanel(bool visible, bool port_controls) = 0;
  virtual bool AboutPanelVisible() const = 0;
  virtual void SetPortEditText(const std::string& text) = 0;
  virtual std::string PortEditText() const = 0;
  virtual void SetVersionText(const std::string& text) = 0;
  // The author link: active (blue, underlined) when there is a page to open.
  virtual void SetAuthorLinkActive(bool active) = 0;
  virtual void SetSkipEnabled(bool enabled) = 0;
  // The speaking animation shown over the clock while speech sounds.
  virtual void SetLipsViewVisible(bool visible) = 0;
  // Menu check marks changed (pause, mute, count items): refresh the menu.
  virtual void MenuStateChanged() = 0;
};

}  // namespace chimewell
