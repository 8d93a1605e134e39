#pragma once

#include <QObject>

class QSocketNotifier;

namespace kesta::ui {

// Turns SIGTERM and SIGINT (a session ending, Ctrl+C in a terminal) into the
// application's normal quit on the main thread, so the quit steps run as
// they do when the window is closed. One at a time per process; made and
// destroyed on the main thread, which restores the default handlers.
class TerminationSignals : public QObject {
 public:
  explicit TerminationSignals(QObject* parent = nullptr);
  ~TerminationSignals() override;
  TerminationSignals(const TerminationSignals&) = delete;
  TerminationSignals& operator=(const TerminationSignals&) = delete;

 private:
  int pipe_[2] = {-1, -1};
  QSocketNotifier* notifier_ = nullptr;
};

}  // namespace kesta::ui
