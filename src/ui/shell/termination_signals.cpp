#include "ui/shell/termination_signals.h"

#include <fcntl.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QSocketNotifier>
#include <csignal>

namespace kesta::ui {
namespace {

// The write end of the pipe, for the handler: a signal handler can reach
// nothing else safely.
volatile std::sig_atomic_t writeEnd = -1;

void onSignal(int) {
  const char byte = 1;
  if (writeEnd >= 0) [[maybe_unused]]
    const auto written = ::write(writeEnd, &byte, 1);
}

}  // namespace

TerminationSignals::TerminationSignals(QObject* parent) : QObject(parent) {
  if (::pipe2(pipe_, O_CLOEXEC | O_NONBLOCK) != 0) return;
  writeEnd = pipe_[1];
  notifier_ = new QSocketNotifier(pipe_[0], QSocketNotifier::Read, this);
  connect(notifier_, &QSocketNotifier::activated, this, [this] {
    char bytes[16];
    while (::read(pipe_[0], bytes, sizeof bytes) > 0) {
    }
    QCoreApplication::quit();
  });
  struct sigaction action {};
  action.sa_handler = onSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  sigaction(SIGTERM, &action, nullptr);
  sigaction(SIGINT, &action, nullptr);
}

TerminationSignals::~TerminationSignals() {
  std::signal(SIGTERM, SIG_DFL);
  std::signal(SIGINT, SIG_DFL);
  writeEnd = -1;
  for (const int end : pipe_) {
    if (end >= 0) ::close(end);
  }
}

}  // namespace kesta::ui
