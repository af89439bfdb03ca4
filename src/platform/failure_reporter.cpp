#include "platform/failure_reporter.h"

namespace chimewell {

void FailureReporter::Failed(const std::string& message) {
  {
    const std::lock_guard lock(mutex_);
    const auto now = time_.Now();
    if (last_ && now - *last_ < kInterval) return;
    last_ = now;
  }
  if (report_) report_(message);
}

}  // namespace chimewell
