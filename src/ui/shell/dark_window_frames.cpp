#include "ui/shell/dark_window_frames.h"

#include <QCoreApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QWidget>

#include "platform/x11/x11_window_hints.h"

namespace kesta::ui {

DarkWindowFrames::DarkWindowFrames(QObject* parent) : QObject(parent) {
  if (QGuiApplication::platformName() == "xcb") QCoreApplication::instance()->installEventFilter(this);
}

bool DarkWindowFrames::eventFilter(QObject* watched, QEvent* event) {
  // A widget's Show event comes after its native window is made and before it is mapped.
  if (event->type() != QEvent::Show || !watched->isWidgetType()) return false;
  const auto* widget = static_cast<QWidget*>(watched);
  const Qt::WindowType type = widget->windowType();
  if (!widget->isWindow() || widget->internalWinId() == 0 || type == Qt::Popup || type == Qt::ToolTip ||
      type == Qt::SplashScreen)
    return false;
  const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
  if (x11) X11WindowHints::preferDarkFrame(x11->connection(), std::uint32_t(widget->internalWinId()));
  return false;
}

}  // namespace kesta::ui
