#pragma once
// The about panel: logo, version and author notice; after start-up also the port setting.
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <functional>

namespace chimewell {

class AboutPanel final : public QFrame {
 public:
  static constexpr int kWidth = 249;
  static constexpr int kHeight = 121;

  explicit AboutPanel(QWidget* parent);

  // Shows or hides the port label, field and buttons.
  void SetPortControls(bool visible);
  // Active: blue and underlined, and a click opens the author page. Inactive: black italic.
  void SetAuthorLinkActive(bool active);
  // Centres the panel in its parent's client area.
  void Centre();

  QLabel& VersionLabel() { return version_label_; }
  QLabel& CopyrightLabel() { return copyright_label_; }
  QLabel& PortLabel() { return port_label_; }
  QLineEdit& PortEdit() { return port_edit_; }
  const QLineEdit& PortEdit() const { return port_edit_; }
  QPushButton& PortButton() { return port_button_; }
  QPushButton& CancelButton() { return cancel_button_; }

  std::function<void()> OnPortOk;
  std::function<void()> OnPortCancel;
  std::function<void()> OnAuthorClick;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QLabel logo_;
  QLabel version_label_;
  QLabel copyright_label_;
  QLabel port_label_;
  QLineEdit port_edit_;
  QPushButton port_button_;
  QPushButton cancel_button_;
  bool author_link_active_ = false;
};

}  // namespace chimewell
