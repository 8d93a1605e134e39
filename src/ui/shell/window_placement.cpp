#include "ui/shell/window_placement.h"

#include <algorithm>

namespace kesta::ui::WindowPlacement {
namespace {

bool intersects(const Rect& a, const Rect& b) { return !a.intersection(b).isEmpty(); }

bool contains(const Rect& rect, Point point) {
  return point.x >= rect.minX() && point.x < rect.maxX() && point.y >= rect.minY() && point.y < rect.maxY();
}

Rect fallbackArea(const Desktop& desktop) {
  for (const Screen& screen : desktop.screens) {
    if (contains(screen.frame, desktop.mouse)) return screen.visible;
  }
  if (desktop.main) return desktop.main->visible;
  return noScreenArea;
}

std::optional<Rect> onSavedCorner(Size size, const Desktop& desktop, Point corner) {
  const Rect candidate{corner.x, corner.y - size.height, size.width, size.height};
  for (const Screen& screen : desktop.screens) {
    const Rect& s = screen.visible;
    if (!intersects(s, candidate)) continue;
    // Wider or taller than the screen: the right or top edge wins.
    const double x = std::min(std::max(candidate.x, s.minX()), s.maxX() - size.width);
    const double y = std::min(std::max(candidate.y, s.minY()), s.maxY() - size.height);
    return Rect{x, y, size.width, size.height};
  }
  return std::nullopt;
}

}  // namespace

Rect frame(Size size, const Desktop& desktop, std::optional<Point> savedTopLeft) {
  if (savedTopLeft) {
    if (auto placed = onSavedCorner(size, desktop, *savedTopLeft)) return *placed;
  }
  const Rect area = fallbackArea(desktop);
  return {area.maxX() - size.width - inset, area.maxY() - size.height - inset, size.width, size.height};
}

Point topLeft(const Rect& frame) { return {frame.minX(), frame.maxY()}; }

Rect fromScreen(const Rect& rect, double primaryBottom) {
  return {rect.x, primaryBottom - rect.maxY(), rect.width, rect.height};
}

Rect toScreen(const Rect& rect, double primaryBottom) { return fromScreen(rect, primaryBottom); }

Point fromScreen(Point point, double primaryBottom) { return {point.x, primaryBottom - point.y}; }

}  // namespace kesta::ui::WindowPlacement
