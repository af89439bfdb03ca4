#pragma once
// Hands work to the Qt GUI thread: queued events on an object that lives there.
#include <QObject>

#include "platform/ui_thread.h"

namespace chimewell {

// Construct on the GUI thread. Steps posted after it is destroyed are dropped by Qt.
class QtUiThread final : public UiThread {
 public:
  void RunSync(const std::function<void()>& step) override;
  void Post(std::function<void()> step) override;

 private:
  QObject context_;
};

}  // namespace chimewell
