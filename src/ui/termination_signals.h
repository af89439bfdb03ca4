#pragma once
// SIGTERM and SIGINT end the program through the event loop, as the Exit command does, so a
// logout or a service stop writes the window placement and stops playback like a normal exit.
#include <QSocketNotifier>
#include <functional>
#include <memory>

namespace chimewell {

// One instance per program. The signal handler only writes a byte to a pipe; the handler given
// here runs later on the GUI thread, where it may touch anything.
class TerminationSignals {
 public:
  explicit TerminationSignals(std::function<void(int signal)> on_signal);
  ~TerminationSignals();
  TerminationSignals(const TerminationSignals&) = delete;
  TerminationSignals& operator=(const TerminationSignals&) = delete;

 private:
  void Drain();

  std::function<void(int)> on_signal_;
  std::unique_ptr<QSocketNotifier> notifier_;
};

}  // namespace chimewell
