#pragma once
// The in-window message panel: stacked message lines and an OK button.
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <functional>

namespace chimewell {

class MessagePanelView final : public QFrame {
 public:
  explicit MessagePanelView(QWidget* parent);

  // Shows `text` with the panel 40 pixels in from every side of the parent's client area.
  void ShowText(const QString& text);

  QLabel& MessageLabel() { return label_; }
  QPushButton& MessageButton() { return button_; }

  std::function<void()> OnOk;

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void Place();

  QLabel label_;
  QPushButton button_;
};

}  // namespace chimewell
