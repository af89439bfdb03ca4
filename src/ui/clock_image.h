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
  // Schedules a repaint of what the last drawings changed. The face repaints the hour and
  // minute every second with the same pixels; only pixels that differ from what is on screen
  // are sent, so a quiet second costs a few digits, not the whole band.
  void PresentChanges();
  // The area the last PresentChanges scheduled (empty when nothing changed).
  QRect LastPresented() const { return last_presented_; }

  std::function<void()> OnDoubleClick;
  // A right-click (or the menu key): open the menu at this screen position.
  std::function<void(QPoint global)> OnMenuRequest;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  QtCanvas canvas_;
  QImage on_screen_;  // the bitmap as last scheduled for the screen
  QRect last_presented_;
};

}  // namespace chimewell
