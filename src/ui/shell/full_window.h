#pragma once

#include <QWidget>

namespace kesta::ui {

// The full window: a titled window of fixed content size that stays above
// ordinary windows and cannot be maximised (fixed size hints: no maximise
// button); the title bar is the window manager's. The content keeps its
// band at the top for a title bar drawn over it only while the manager draws
// none above it: under a real title bar its top inset is its bottom one.
// Closing it, or Ctrl+Q inside it, asks the application to quit (hiding it
// does not). Dragging the background moves it. Main thread.
class FullWindow : public QWidget {
  Q_OBJECT

 public:
  // Hosts `content` (taken over) at `size`; the top margin of the content's
  // layout is the band kept for a title bar.
  FullWindow(QWidget* content, QSize size);

 signals:
  void quitRequested();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void moveEvent(QMoveEvent* event) override;

 private:
  // Sets the content's top inset for the frame the window has now.
  void fitTitleBand();

  QWidget* content_;
  int bandTop_;  // the content's own top inset
};

}  // namespace kesta::ui
