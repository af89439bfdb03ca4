#include "ui/qt_ui_thread.h"

#include <QThread>
#include <exception>

namespace chimewell {

void QtUiThread::RunSync(const std::function<void()>& step) {
  if (QThread::currentThread() == context_.thread()) {
    step();
    return;
  }
  std::exception_ptr error;
  QMetaObject::invokeMethod(
      &context_,
      [&] {
        try {
          step();
        } catch (...) {
          error = std::current_exception();
        }
      },
      Qt::BlockingQueuedConnection);
  if (error) std::rethrow_exception(error);
}

void QtUiThread::Post(std::function<void()> step) {
  QMetaObject::invokeMethod(
      &context_,
      [this, step = std::move(step)] { RunCatchingFaults("posted step", step, report_); },
      Qt::QueuedConnection);
}

}  // namespace chimewell
