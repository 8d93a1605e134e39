#pragma once

#include <QObject>
#include <QPoint>
#include <optional>

class QWidget;

namespace kesta::ui {

// Lets the user move a top-level window by dragging its background: a left
// press that no control took starts nothing until the pointer has moved
// `threshold` pixels with the button held, so a click never moves the
// window. Then the move is handed to the window manager and, where none
// takes it (bare X servers, offscreen), made by hand while the button is
// held. Parented to the window it moves. Main thread.
class WindowDrag : public QObject {
 public:
  // Pixels (horizontal plus vertical) the pointer moves before a drag starts.
  static constexpr int threshold = 4;

  explicit WindowDrag(QWidget& window);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Follows a move of the held pointer; true when the event was used.
  bool follow(QPoint pointer, Qt::MouseButtons buttons);

  QWidget& window_;
  std::optional<QPoint> pressedAt_;  // the pointer at the last press
  QPoint frameAtPress_;              // the frame's corner at the press
  bool byHand_ = false;              // the window manager took no move
};

}  // namespace kesta::ui
