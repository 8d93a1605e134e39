#pragma once

#include <QPainterPath>
#include <QRectF>

namespace kesta::ui {

// A rounded rectangle with continuous corners: each corner eases out of the
// straight edge instead of meeting it with a circular arc, the softer shape of
// every card, chip and mark. The corner is shrunk to fit a small rectangle.
QPainterPath continuousRoundedRect(const QRectF& rect, qreal radius);

}  // namespace kesta::ui
