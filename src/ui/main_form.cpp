#include "ui/main_form.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QStringList>
#include <QTimer>
#include <functional>

#include "app/application.h"
#include "app/texts.h"
#include "ui/app_icon.h"
#include "ui/ui_texts.h"

namespace chimewell {
namespace {

QString Utf8(const std::string& text) { return QString::fromStdString(text); }

QFont WindowFont() {
  QStringList families;
  for (const char* family : ui_texts::kWindowFontFamilies) families << QString::fromUtf8(family);
  QFont font;
  font.setFamilies(families);
  font.setPixelSize(ui_texts::kWindowFontPixels);
  return font;
}

}  // namespace

TMainForm::TMainForm(bool headless)
    : QWidget(nullptr,
              Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                  Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                  Qt::WindowCloseButtonHint),
      headless_(headless),
      image_(this),
      status_label_(this),
      lips_(this),
      about_panel_(this),
      message_panel_(this),
      menu_(this) {
  setWindowTitle(QString::fromUtf8(ui_texts::kCaption));
  setWindowIcon(ChimewellIcon());
  setFont(WindowFont());
  QPalette palette = this->palette();
  palette.setColor(QPalette::Window, Qt::white);
  setPalette(palette);
  setAutoFillBackground(true);
  const WindowBounds initial;
  SetBounds(initial);

  status_label_.setText(QString::fromUtf8(texts::kInitialStatus));
  status_label_.setAutoFillBackground(true);
  status_label_.hide();
  message_panel_.hide();
  LayOut();
}

void TMainForm::Attach(Application& app) {
  app_ = &app;
  // Every user action is a command: what it throws is reported, never thrown into Qt.
  const auto command = [&app](std::function<void()> step) {
    return [&app, step = std::move(step)] { app.CatchFaults("command", step); };
  };
  image_.OnDoubleClick = command(
      [&app] { app.PM_MenuClick(MenuItem::PM_Clock, ClickSource::ClockDoubleClick); });
  image_.OnMenuRequest = [this](QPoint global) { menu_.PopupAt(global); };
  menu_.OnChoose = [&app](MenuItem item) {
    app.CatchFaults("command", [&app, item] { app.ChooseMenuItem(item); });
  };
  about_panel_.OnPortOk = command([&app] { app.PortButtonClick(); });
  about_panel_.OnPortCancel = command([&app] { app.PortCancelClick(); });
  about_panel_.OnAuthorClick =
      command([&app] { app.PM_MenuClick(MenuItem::PM_URL, ClickSource::AuthorLink); });
  message_panel_.OnOk = command([&app] { app.MessageButtonClick(); });
  menu_.Sync(app.Menu());
}

void TMainForm::Start() {
  if (headless_) {
    FirstShow();
  } else {
    show();
  }
}

void TMainForm::FirstShow() {
  if (first_shown_) return;
  first_shown_ = true;
  if (app_ != nullptr) app_->CatchFaults("start-up", [this] { app_->FormShow(); });
}

void TMainForm::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  // Qt sends this before the window is mapped, so the placement read here is applied in time.
  FirstShow();
}

void TMainForm::closeEvent(QCloseEvent* event) {
  // The window's close button ends the program as the Exit command does.
  if (!closing_ && app_ != nullptr) {
    app_->CatchFaults("command", [this] { app_->CloseMainWindow(); });
  }
  event->accept();
}

void TMainForm::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  if (event->type() != QEvent::WindowStateChange || !(windowState() & Qt::WindowMinimized)) {
    return;
  }
  if (!hide_on_minimise_) return;
  // Minimising hides the clock; the tray icon brings it back. Done once the window system has
  // finished the state change, and the window is restored so it comes back unminimised.
  QTimer::singleShot(0, this, [this] {
    setWindowState(windowState() & ~Qt::WindowMinimized);
    HideWindow();
  });
}

void TMainForm::keyReleaseEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_F1 && !event->isAutoRepeat()) {
    PopupMenuAtWindowCorner();
    return;
  }
  QWidget::keyReleaseEvent(event);
}

void TMainForm::ShowOnRequest() {
  if (headless_ || app_ == nullptr) return;
  if (IsShowing()) {
    ShowWindow();  // to the front
    return;
  }
  app_->CatchFaults("command", [this] { app_->PM_MenuClick(MenuItem::PM_Clock); });
}

void TMainForm::PopupMenuAtWindowCorner() { menu_.PopupAt(pos()); }

void TMainForm::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  LayOut();
}

void TMainForm::LayOut() {
  image_.setGeometry(rect());
  image_.FitCanvas();
  lips_.setGeometry(rect());
  const int status_height = status_label_.sizeHint().height();
  status_label_.setGeometry(0, height() - status_height, width(), status_height);
}

bool TMainForm::IsShowing() const { return !headless_ && isVisible(); }

void TMainForm::ShowWindow() {
  if (headless_) return;
  setWindowState(windowState() & ~Qt::WindowMinimized);
  show();
  raise();
  activateWindow();
}

void TMainForm::HideWindow() { hide(); }

void TMainForm::CloseWindow() {
  closing_ = true;
  hide();
  QCoreApplication::quit();
}

void TMainForm::PresentClock() { image_.PresentChanges(); }

void TMainForm::ProcessPendingEvents() {
  // Paints what is waiting to be painted, and nothing else: running the whole event queue
  // here could start another command in the middle of the tick.
  if (IsShowing()) QCoreApplication::sendPostedEvents(nullptr, QEvent::UpdateRequest);
}

WindowBounds TMainForm::Bounds() const { return {x(), y(), width(), height()}; }

void TMainForm::SetBounds(const WindowBounds& bounds) {
  move(bounds.left, bounds.top);
  resize(bounds.width, bounds.height);
}

void TMainForm::SetStatusText(const std::string& text) { status_label_.setText(Utf8(text)); }

void TMainForm::ShowMessagePanel(const std::string& text) {
  // The panel's lines are kept with CR LF between them; a label breaks lines at LF alone.
  QString lines = Utf8(text);
  lines.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  message_panel_.ShowText(lines);
}

void TMainForm::SetAboutPanel(bool visible, bool port_controls) {
  about_panel_.SetPortControls(port_controls);
  if (visible) {
    about_panel_.Centre();
    about_panel_.show();
    about_panel_.raise();
  } else {
    about_panel_.hide();
  }
}

void TMainForm::SetPortEditText(const std::string& text) {
  about_panel_.PortEdit().setText(Utf8(text));
}

std::string TMainForm::PortEditText() const { return about_panel_.PortEdit().text().toStdString(); }

void TMainForm::SetVersionText(const std::string& text) {
  about_panel_.VersionLabel().setText(Utf8(text));
}

void TMainForm::SetSkipEnabled(bool enabled) {
  // Safe from any thread: the menu is touched on the GUI thread only.
  QMetaObject::invokeMethod(
      this, [this, enabled] { menu_.Action(MenuItem::PM_Skip).setEnabled(enabled); },
      Qt::AutoConnection);
}

void TMainForm::SetLipsViewVisible(bool visible) {
  lips_.setGeometry(rect());
  lips_.SetShowing(visible && !headless_);
}

void TMainForm::MenuStateChanged() {
  if (app_ != nullptr) menu_.Sync(app_->Menu());
}

}  // namespace chimewell
