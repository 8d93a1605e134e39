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
      QWindow* handle = window_.windowHandle();
      if (handle && handle->startSystemMove()) return true;
      grabOffset_ = press->globalPosition().toPoint() - window_.frameGeometry().topLeft();
      return true;
    }
    case QEvent::MouseMove:
      if (!grabOffset_) return false;
      window_.move(static_cast<QMouseEvent*>(event)->globalPosition().toPoint() - *grabOffset_);
      return true;
    case QEvent::MouseButtonRelease:
      if (!grabOffset_) return false;
      grabOffset_.reset();
      return true;
    default:
      return false;
  }
}

}  // namespace kesta::ui
