#pragma once
// The clock window: shows the application's clock face, status line and panels, and hands
// every user action (menu, keys, double-clicks, panel buttons, close) to the application.
#include <QLabel>
#include <QWidget>

#include "app/app_view.h"
#include "ui/about_panel.h"
#include "ui/clock_image.h"
#include "ui/command_menu.h"
#include "ui/lips_view.h"
#include "ui/message_panel_view.h"

namespace chimewell {

class Application;

class TMainForm final : public QWidget, public AppView {
 public:
  // A headless form is never shown: the program runs without a window.
  explicit TMainForm(bool headless);

  // User actions go to `app` from now on; call before the application's FormCreate.
  void Attach(Application& app);
  // Brings the window up for the first time, which runs the application's FormShow; a headless
  // form runs FormShow without showing anything.
  void Start();
  // Whether minimising may hide the window: only when a tray icon can bring it back.
  void SetHideOnMinimise(bool hide) { hide_on_minimise_ = hide; }
  bool Headless() const { return headless_; }

  // The window's parts, for the program's wiring and for tests.
  ClockImage& Image1() { return image_; }
  QLabel& StatusLabel() { return status_label_; }
  AboutPanel& About() { return about_panel_; }
  MessagePanelView& MessagePanel() { return message_panel_; }
  CommandMenu& PopupMenu1() { return menu_; }
  LipsView& DirectSS1() { return lips_; }
  // Another start of the program asked for this clock: bring its window up, as the tray's
  // double-click does. A headless clock has none to show.
  void ShowOnRequest();
  // Opens the popup menu at the window's top-left corner, as F1 does.
  void PopupMenuAtWindowCorner();

  // ---- AppView ----
  bool IsShowing() const override;
  void ShowWindow() override;
  void HideWindow() override;
  void CloseWindow() override;
  void ProcessPendingEvents() override;
  WindowBounds Bounds() const override;
  void SetBounds(const WindowBounds& bounds) override;
  Canvas& ClockCanvas() override { return image_.Canvas(); }
  void PresentClock() override;
  void SetStatusText(const std::string& text) override;
  void SetStatusVisible(bool visible) override { status_label_.setVisible(visible); }
  void ShowMessagePanel(const std::string& text) override;
  void HideMessagePanel() override { message_panel_.hide(); }
  void SetAboutPanel(bool visible, bool port_controls) override;
  bool AboutPanelVisible() const override { return about_panel_.isVisible(); }
  void SetPortEditText(const std::string& text) override;
  std::string PortEditText() const override;
  void SetVersionText(const std::string& text) override;
  void SetAuthorLinkActive(bool active) override { about_panel_.SetAuthorLinkActive(active); }
  void SetSkipEnabled(bool enabled) override;
  void SetLipsViewVisible(bool visible) override;
  void MenuStateChanged() override;

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void changeEvent(QEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void FirstShow();
  void LayOut();
  void FitStatusText();

  const bool headless_;
  Application* app_ = nullptr;
  bool first_shown_ = false;
  bool closing_ = false;
  bool hide_on_minimise_ = true;
  // Children in stacking order: the clock at the bottom, the panels above it.
  ClockImage image_;
  QLabel status_label_;
  QString status_text_;  // the whole line; the label shows as much as fits
  LipsView lips_;
  AboutPanel about_panel_;
  MessagePanelView message_panel_;
  CommandMenu menu_;
};

}  // namespace chimewell
