#include "ui/message_panel_view.h"

#include "ui/ui_texts.h"

namespace chimewell {
namespace {

constexpr int kInset = 40;
constexpr int kLabelTop = 21;  // the label sits under a spacer of this height
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 25;

}  // namespace

MessagePanelView::MessagePanelView(QWidget* parent)
    : QFrame(parent), label_(this), button_(this) {
  setFrameStyle(QFrame::Panel | QFrame::Raised);
  setAutoFillBackground(true);
  label_.setAlignment(Qt::AlignHCenter | Qt::AlignTop);
  label_.setWordWrap(true);
  button_.setText(QString::fromUtf8(ui_texts::kOk));
  button_.setDefault(true);
  button_.resize(kButtonWidth, kButtonHeight);
  QObject::connect(&button_, &QPushButton::clicked, [this] {
    if (OnOk) OnOk();
  });
  hide();
}

void MessagePanelView::ShowText(const QString& text) {
  label_.setText(text);
  Place();
  show();
  raise();
}

void MessagePanelView::Place() {
  if (parentWidget() == nullptr) return;
  setGeometry(kInset, kInset, parentWidget()->width() - 2 * kInset,
              parentWidget()->height() - 2 * kInset);
}

void MessagePanelView::resizeEvent(QResizeEvent* event) {
  QFrame::resizeEvent(event);
  button_.move((width() - button_.width()) / 2, height() - kInset);
  label_.setGeometry(0, kLabelTop, width(), std::max(0, height() - kInset - kLabelTop));
}

}  // namespace chimewell
