#include "ui/about_panel.h"

#include <QEvent>
#include <QKeySequence>
#include <QMouseEvent>

#include "ui/app_icon.h"
#include "ui/ui_texts.h"

namespace chimewell {

AboutPanel::AboutPanel(QWidget* parent)
    : QFrame(parent),
      logo_(this),
      version_label_(this),
      copyright_label_(this),
      port_label_(this),
      port_edit_(this),
      port_button_(this),
      cancel_button_(this) {
  setFrameStyle(QFrame::Box | QFrame::Plain);
  setAutoFillBackground(true);
  resize(kWidth, kHeight);

  logo_.setGeometry(12, 12, 48, 48);
  logo_.setPixmap(ChimewellIcon().pixmap(48, 48));
  version_label_.setGeometry(68, 14, 168, 18);
  version_label_.setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  copyright_label_.setGeometry(68, 40, 168, 18);
  copyright_label_.setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  copyright_label_.setText(QString::fromUtf8(ui_texts::kAuthorNotice));
  copyright_label_.installEventFilter(this);

  port_label_.setGeometry(12, 66, 130, 22);
  port_label_.setText(QString::fromUtf8(ui_texts::kPortLabel));
  port_edit_.setGeometry(148, 66, 88, 22);
  port_edit_.setToolTip(QString::fromUtf8(ui_texts::kPortHint));
  port_edit_.setPlaceholderText(QString::fromUtf8(ui_texts::kPortHint));
  // A port is digits only: no input method composing in between.
  port_edit_.setAttribute(Qt::WA_InputMethodEnabled, false);
  port_edit_.setInputMethodHints(Qt::ImhDigitsOnly);
  port_button_.setGeometry(92, 92, 64, 24);
  port_button_.setText(QString::fromUtf8(ui_texts::kOk));
  port_button_.setDefault(true);
  QObject::connect(&port_button_, &QPushButton::clicked, [this] {
    if (OnPortOk) OnPortOk();
  });
  cancel_button_.setGeometry(162, 92, 74, 24);
  cancel_button_.setText(QString::fromUtf8(ui_texts::kCancel));
  cancel_button_.setShortcut(QKeySequence(Qt::Key_Escape));
  QObject::connect(&cancel_button_, &QPushButton::clicked, [this] {
    if (OnPortCancel) OnPortCancel();
  });
  // Enter in the field presses the default button, as in a dialog.
  QObject::connect(&port_edit_, &QLineEdit::returnPressed, [this] {
    if (OnPortOk) OnPortOk();
  });
  SetAuthorLinkActive(false);
}

void AboutPanel::SetPortControls(bool visible) {
  port_label_.setVisible(visible);
  port_edit_.setVisible(visible);
  port_button_.setVisible(visible);
  cancel_button_.setVisible(visible);
}

void AboutPanel::SetAuthorLinkActive(bool active) {
  author_link_active_ = active;
  QFont font = copyright_label_.font();
  font.setUnderline(active);
  font.setItalic(!active);
  copyright_label_.setFont(font);
  QPalette palette = copyright_label_.palette();
  palette.setColor(QPalette::WindowText, active ? Qt::blue : Qt::black);
  copyright_label_.setPalette(palette);
  copyright_label_.setCursor(active ? Qt::PointingHandCursor : Qt::ArrowCursor);
}

void AboutPanel::Centre() {
  if (parentWidget() == nullptr) return;
  move((parentWidget()->width() - width()) / 2, (parentWidget()->height() - height()) / 2);
}

bool AboutPanel::eventFilter(QObject* watched, QEvent* event) {
  if (watched == &copyright_label_ && event->type() == QEvent::MouseButtonRelease &&
      static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton && author_link_active_ &&
      OnAuthorClick) {
    OnAuthorClick();
    return true;
  }
  return QFrame::eventFilter(watched, event);
}

}  // namespace chimewell
