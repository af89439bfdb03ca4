#pragma once
// The clock image: shows the clock face's bitmap and reports double-clicks and menu requests.
#include <QWidget>
#include <functional>

#include "ui/qt_canvas.h"

namespace chimewell {

class ClockImage final : public QWidget {
 public:
  explicit ClockImage(QWidget* parent);

  QtCanvas& Canvas() { return canvas_; }
  // Sizes the bitmap to the widget; what was drawn stays until the next full drawing.
  void FitCanvas() { canvas_.Resize(width(), height()); }

  std::function<void()> OnDoubleClick;
  // A right-click (or the menu key): open the menu at this screen position.
  std::function<void(QPoint global)> OnMenuRequest;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  QtCanvas canvas_;
};

}  // namespace chimewell
