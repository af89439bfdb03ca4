#pragma once
// Hands work to the Qt GUI thread: queued events on an object that lives there.
#include <QObject>

#include "core/fault.h"
#include "platform/ui_thread.h"

namespace chimewell {

// Construct on the GUI thread. Steps posted after it is destroyed are dropped by Qt.
class QtUiThread final : public UiThread {
 public:
  void RunSync(const std::function<void()>& step) override;
  // A posted step's fault is told to `report` (when set) and goes no further.
  void Post(std::function<void()> step) override;
  void SetFaultReport(FaultReport report) { report_ = std::move(report); }

 private:
  QObject context_;
  FaultReport report_;
};

}  // namespace chimewell
