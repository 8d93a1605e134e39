#pragma once

#include <QWidget>

namespace kesta::ui {

// The full window: a titled window of fixed content size that stays above
// ordinary windows and cannot be maximised; the title bar is the window
// manager's. Closing it, or Ctrl+Q inside it, asks the application to quit
// (hiding it does not). Dragging the background moves it. Main thread.
class FullWindow : public QWidget {
  Q_OBJECT

 public:
  // Hosts `content` (taken over) at `size`.
  FullWindow(QWidget* content, QSize size);

 signals:
  void quitRequested();

 protected:
  void closeEvent(QCloseEvent* event) override;
};

}  // namespace kesta::ui
