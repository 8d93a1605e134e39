#include "ui/shell/window_drag.h"

#include <QMouseEvent>
#include <QWidget>
#include <QWindow>

namespace kesta::ui {

WindowDrag::WindowDrag(QWidget& window) : QObject(&window), window_(window) {
  window.installEventFilter(this);
}

bool WindowDrag::eventFilter(QObject* watched, QEvent* event) {
  if (watched != &window_) return false;
  switch (event->type()) {
    case QEvent::MouseButtonPress: {
      auto* press = static_cast<QMouseEvent*>(event);
      if (press->button() != Qt::LeftButton) return false;
      pressedAt_ = press->globalPosition().toPoint();
      frameAtPress_ = window_.frameGeometry().topLeft();
      byHand_ = false;
      return true;
    }
    case QEvent::MouseMove: {
      auto* move = static_cast<QMouseEvent*>(event);
      return follow(move->globalPosition().toPoint(), move->buttons());
    }
    default:
      return false;
  }
}

bool WindowDrag::follow(QPoint pointer, Qt::MouseButtons buttons) {
  // The button went up (where the window saw it or not): no drag until the next press.
  if (!pressedAt_ || !(buttons & Qt::LeftButton)) {
    pressedAt_.reset();
    return false;
  }
  const QPoint moved = pointer - *pressedAt_;
  if (!byHand_) {
    if (moved.manhattanLength() < threshold) return true;
    // A manager moves the window on from where the pointer is now.
    QWindow* handle = window_.windowHandle();
    if (handle && handle->startSystemMove()) {
      // The window manager has the pointer until the button goes up.
      pressedAt_.reset();
      return true;
    }
    byHand_ = true;
  }
  window_.move(frameAtPress_ + moved);
  return true;
}

}  // namespace kesta::ui
