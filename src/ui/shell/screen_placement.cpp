#include "ui/shell/screen_placement.h"

#include <QCursor>
#include <QGuiApplication>
#include <QScreen>
#include <cmath>

namespace kesta::ui::ScreenPlacement {
namespace {

Rect toRect(const QRect& rect) {
  return {double(rect.x()), double(rect.y()), double(rect.width()), double(rect.height())};
}

WindowPlacement::Screen screenOf(const QScreen& screen, double bottom) {
  return {WindowPlacement::fromScreen(toRect(screen.geometry()), bottom),
          WindowPlacement::fromScreen(toRect(screen.availableGeometry()), bottom)};
}

}  // namespace

double primaryBottom() {
  const QScreen* primary = QGuiApplication::primaryScreen();
  if (!primary) return WindowPlacement::noScreenArea.maxY();
  const QRect geometry = primary->geometry();
  return double(geometry.y() + geometry.height());
}

WindowPlacement::Desktop desktop() {
  const double bottom = primaryBottom();
  WindowPlacement::Desktop desktop;
  for (const QScreen* screen : QGuiApplication::screens())
    desktop.screens.push_back(screenOf(*screen, bottom));
  if (const QScreen* primary = QGuiApplication::primaryScreen()) desktop.main = screenOf(*primary, bottom);
  // The pointer stands for the pixel it is on, whose centre lies half a pixel in.
  const QPoint mouse = QCursor::pos();
  desktop.mouse = WindowPlacement::fromScreen(Point{mouse.x() + 0.5, mouse.y() + 0.5}, bottom);
  return desktop;
}

QRect frame(QSize frameSize, std::optional<Point> savedTopLeft) {
  const Size size{double(frameSize.width()), double(frameSize.height())};
  const Rect placed =
      WindowPlacement::toScreen(WindowPlacement::frame(size, desktop(), savedTopLeft), primaryBottom());
  return {int(std::lround(placed.x)), int(std::lround(placed.y)), frameSize.width(), frameSize.height()};
}

Point savedCorner(const QRect& frame) {
  return WindowPlacement::topLeft(WindowPlacement::fromScreen(toRect(frame), primaryBottom()));
}

}  // namespace kesta::ui::ScreenPlacement
