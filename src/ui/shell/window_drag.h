#pragma once

#include <QObject>
#include <QPoint>
#include <optional>

class QWidget;

namespace kesta::ui {

// Lets the user move a top-level window by dragging its background: a left
// press that no control took hands the move to the window manager and,
// where none takes it (bare X servers, offscreen), moves the window by hand
// until the button is released. Parented to the window it moves. Main thread.
class WindowDrag : public QObject {
 public:
  explicit WindowDrag(QWidget& window);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QWidget& window_;
  std::optional<QPoint> grabOffset_;  // pointer minus the frame's corner, while moving by hand
};

}  // namespace kesta::ui
