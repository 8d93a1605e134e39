#include "ui/shell/card_panel.h"

#include <gtest/gtest.h>

#include <QPolygonF>
#include <cmath>

#include "ui/look/rounded_shape.h"
#include "ui/look/theme.h"

namespace kesta::ui {
namespace {

qreal area(const QPolygonF& polygon) {
  qreal twice = 0;
  for (qsizetype i = 0; i < polygon.size(); ++i) {
    const QPointF a = polygon[i], b = polygon[(i + 1) % polygon.size()];
    twice += a.x() * b.y() - b.x() * a.y();
  }
  return std::abs(twice) / 2;
}

qint64 pixels(const QRegion& region) {
  qint64 count = 0;
  for (const QRect& rect : region) count += qint64(rect.width()) * rect.height();
  return count;
}

TEST(CardPanel, OutlineLeavesTheCornersOutAndKeepsEveryEdge) {
  const QRegion outline = CardPanel::outline(QSize(340, 224));
  const struct {
    QPoint pixel;
    bool inside;
  } cases[] = {
      {{0, 0}, false},   {{2, 2}, false},     {{339, 0}, false},   {{337, 2}, false},  {{0, 223}, false},
      {{2, 221}, false}, {{339, 223}, false}, {{337, 221}, false}, {{6, 6}, true},     {{333, 217}, true},
      {{170, 0}, true},  {{170, 223}, true},  {{0, 112}, true},    {{339, 112}, true}, {{20, 0}, true},
      {{0, 20}, true},   {{340, 112}, false}, {{170, 224}, false},
  };
  for (const auto& c : cases)
    EXPECT_EQ(outline.contains(c.pixel), c.inside) << c.pixel.x() << ", " << c.pixel.y();
}

TEST(CardPanel, OutlineHoldsThePixelsTheRoundedShapeCoversAtLeastHalf) {
  // Pixels half covered or more are in, the rest out: the count stays
  // within a few pixels of the shape's true area, where taking every touched
  // pixel, or only whole ones, misses by dozens along the four corners.
  for (const QSize size : {QSize(340, 224), QSize(120, 30), QSize(60, 60)}) {
    const QPainterPath shape = continuousRoundedRect(QRectF(QPointF(0, 0), QSizeF(size)), Theme::kCardRadius);
    EXPECT_NEAR(qreal(pixels(CardPanel::outline(size))), area(shape.toFillPolygon()), 8) << size.width();
  }
}

}  // namespace
}  // namespace kesta::ui
