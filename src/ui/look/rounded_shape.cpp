#include "ui/look/rounded_shape.h"

#include <QtMath>

namespace kesta::ui {

namespace {

// How far from the corner point the curve leaves the edge, and where its two
// handles sit, as multiples of the radius. A circular arc would be 1 and
// 0.448; the longer run with shorter handles passes the diagonal at about the
// arc's distance and meets the edges without a kink in curvature.
constexpr qreal kReach = 1.28;
constexpr qreal kHandle = 0.373;

}  // namespace

QPainterPath continuousRoundedRect(const QRectF& rect, qreal radius) {
  QPainterPath path;
  const qreal room = qMin(rect.width(), rect.height()) / 2;
  const qreal reach = qBound<qreal>(0, radius * kReach, room);
  if (reach <= 0) {
    path.addRect(rect);
    return path;
  }
  const qreal handle = reach * kHandle / kReach;
  const qreal l = rect.left(), t = rect.top(), r = rect.right(), b = rect.bottom();
  path.moveTo(l + reach, t);
  path.lineTo(r - reach, t);
  path.cubicTo(r - handle, t, r, t + handle, r, t + reach);
  path.lineTo(r, b - reach);
  path.cubicTo(r, b - handle, r - handle, b, r - reach, b);
  path.lineTo(l + reach, b);
  path.cubicTo(l + handle, b, l, b - handle, l, b - reach);
  path.lineTo(l, t + reach);
  path.cubicTo(l, t + handle, l + handle, t, l + reach, t);
  path.closeSubpath();
  return path;
}

}  // namespace kesta::ui
