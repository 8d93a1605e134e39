#include "ui/shell/qt_click_through.h"

#include <QGuiApplication>
#include <QWindow>
#include <algorithm>

namespace kesta::ui {

std::vector<model::ClickThrough::WindowID> QtClickThrough::ignoreMouse() {
  std::vector<WindowID> changed;
  for (QWindow* window : QGuiApplication::topLevelWindows()) {
    if (!window->isVisible() || window->flags().testFlag(Qt::WindowTransparentForInput)) continue;
    window->setFlag(Qt::WindowTransparentForInput, true);
    changed.push_back(static_cast<WindowID>(window->winId()));
  }
  return changed;
}

void QtClickThrough::restoreMouse(const std::vector<WindowID>& windows) {
  for (QWindow* window : QGuiApplication::topLevelWindows()) {
    if (!window->handle()) continue;
    const auto id = static_cast<WindowID>(window->winId());
    if (std::find(windows.begin(), windows.end(), id) != windows.end()) {
      window->setFlag(Qt::WindowTransparentForInput, false);
    }
  }
}

}  // namespace kesta::ui
