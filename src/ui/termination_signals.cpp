#include "ui/termination_signals.h"

#include <fcntl.h>
#include <unistd.h>

#include <csignal>
#include <stdexcept>

namespace chimewell {
namespace {

int g_pipe[2] = {-1, -1};

extern "C" void OnTerminationSignal(int signal) {
  const int saved_errno = errno;
  const auto byte = static_cast<unsigned char>(signal);
  // Nothing to do if the pipe is full: a close is already on its way.
  [[maybe_unused]] const ssize_t written = write(g_pipe[1], &byte, 1);
  errno = saved_errno;
}

void Install(int signal, void (*handler)(int)) {
  struct sigaction action {};
  action.sa_handler = handler;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  sigaction(signal, &action, nullptr);
}

}  // namespace

TerminationSignals::TerminationSignals(std::function<void(int)> on_signal)
    : on_signal_(std::move(on_signal)) {
  if (pipe2(g_pipe, O_CLOEXEC | O_NONBLOCK) != 0) {
    throw std::runtime_error("cannot create the signal pipe");
  }
  notifier_ = std::make_unique<QSocketNotifier>(g_pipe[0], QSocketNotifier::Read);
  QObject::connect(notifier_.get(), &QSocketNotifier::activated, [this] { Drain(); });
  Install(SIGTERM, OnTerminationSignal);
  Install(SIGINT, OnTerminationSignal);
}

TerminationSignals::~TerminationSignals() {
  Install(SIGTERM, SIG_DFL);
  Install(SIGINT, SIG_DFL);
  notifier_.reset();
  close(g_pipe[0]);
  close(g_pipe[1]);
  g_pipe[0] = g_pipe[1] = -1;
}

void TerminationSignals::Drain() {
  unsigned char byte = 0;
  int last = 0;
  while (read(g_pipe[0], &byte, 1) == 1) last = byte;
  if (last != 0 && on_signal_) on_signal_(last);
}

}  // namespace chimewell
