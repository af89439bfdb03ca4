#pragma once
// The speaking animation laid over the clock while speech sounds: a mouth that opens and closes.
#include <QTimer>
#include <QWidget>

namespace chimewell {

class LipsView final : public QWidget {
 public:
  explicit LipsView(QWidget* parent);

  // Runs the animation only while shown, so a hidden view costs no wake-ups.
  void SetShowing(bool showing);
  int Frame() const { return frame_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QTimer animation_;
  int frame_ = 0;
};

}  // namespace chimewell
