#pragma once

#include <optional>
#include <vector>

#include "platform/image/geometry.h"

namespace kesta::ui {

// Where a window of the application opens. Pure: works in points in the
// placement's own coordinates, where y grows upwards from the bottom edge of
// the primary screen (so a window's top-left corner is (minX, maxY)); the
// conversion to and from Qt's screen coordinates, where y grows downwards
// from the primary screen's top edge, is below.
namespace WindowPlacement {

// Keeps this far in from the top and right edges when no corner is saved.
inline constexpr double inset = 12;
// The area assumed when the machine reports no screen at all.
inline constexpr Rect noScreenArea{0, 0, 1440, 900};

struct Screen {
  Rect frame;    // the whole screen
  Rect visible;  // without panels and docks
};

struct Desktop {
  std::vector<Screen> screens;  // in the system's order
  std::optional<Screen> main;   // the primary screen, if any
  Point mouse;
};

// The whole window frame, of size `frame`, for a window whose saved top-left
// corner (if any) is `savedTopLeft`. A saved corner is honoured on the first
// screen whose visible area the window would touch there, pulled in so the
// whole window lies on it; otherwise the window goes to the top-right of the
// visible area of the screen under the mouse (else the main screen), `inset`
// points in from its top and right edges.
Rect frame(Size frame, const Desktop& desktop, std::optional<Point> savedTopLeft);

// The top-left corner stored for a window with this frame.
Point topLeft(const Rect& frame);

// Qt's screen coordinates (y down) to the placement's and back, given where
// the primary screen's bottom edge lies in Qt's coordinates. Each rectangle
// conversion is its own inverse.
Rect fromScreen(const Rect& rect, double primaryBottom);
Rect toScreen(const Rect& rect, double primaryBottom);
Point fromScreen(Point point, double primaryBottom);

}  // namespace WindowPlacement

}  // namespace kesta::ui
