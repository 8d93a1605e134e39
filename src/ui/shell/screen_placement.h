#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>
#include <optional>

#include "platform/image/geometry.h"
#include "ui/shell/window_placement.h"

namespace kesta::ui::ScreenPlacement {

// The application's screens and the mouse as the window placement sees them
// (y up from the primary screen's bottom edge). Main thread.
WindowPlacement::Desktop desktop();

// Where the primary screen's bottom edge lies in Qt's coordinates; the
// placement's no-screen area's top edge when there is no screen.
double primaryBottom();

// The frame, in Qt's screen coordinates, for a window whose whole frame
// (title bar and borders included) has size `frameSize` and whose saved
// top-left corner, in the placement's coordinates, is `savedTopLeft`.
QRect frame(QSize frameSize, std::optional<Point> savedTopLeft);

// The top-left corner to keep for a window whose frame is `frame` in Qt's
// screen coordinates, in the placement's coordinates.
Point savedCorner(const QRect& frame);

}  // namespace kesta::ui::ScreenPlacement
