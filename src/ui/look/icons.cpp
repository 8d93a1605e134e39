#include "ui/look/icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPolygonF>
#include <QtMath>

namespace kesta::ui {

namespace {

// Every symbol is drawn in a unit square; these are its stroke widths.
qreal strokeWidth(Theme::Weight weight) {
  switch (weight) {
    case Theme::Weight::regular:
      return 0.085;
    case Theme::Weight::semibold:
      return 0.11;
    case Theme::Weight::bold:
      return 0.125;
    case Theme::Weight::heavy:
      return 0.145;
  }
  return 0.085;
}

QPainterPath polyline(std::initializer_list<QPointF> points) {
  QPainterPath path;
  bool first = true;
  for (const QPointF& p : points) {
    if (first) {
      path.moveTo(p);
    } else {
      path.lineTo(p);
    }
    first = false;
  }
  return path;
}

QPainterPath starPath() {
  QPolygonF points;
  const QPointF centre(0.5, 0.53);
  for (int i = 0; i < 10; ++i) {
    const qreal radius = i % 2 == 0 ? 0.47 : 0.2;
    const qreal angle = -M_PI / 2 + i * M_PI / 5;
    points << centre + QPointF(radius * qCos(angle), radius * qSin(angle));
  }
  QPainterPath path;
  path.addPolygon(points);
  path.closeSubpath();
  return path;
}

// A circular arc round the centre with a filled arrowhead where it ends.
void arcWithHead(QPainter& painter, qreal startDegrees, qreal sweepDegrees) {
  const QRectF ring(0.15, 0.15, 0.7, 0.7);
  QPainterPath arc;
  arc.arcMoveTo(ring, startDegrees);
  arc.arcTo(ring, startDegrees, sweepDegrees);
  painter.drawPath(arc);

  const qreal end = qDegreesToRadians(startDegrees + sweepDegrees);
  const QPointF tip = arc.currentPosition();
  const QPointF along(-qSin(end), -qCos(end));
  const QPointF outward(qCos(end), -qSin(end));
  QPolygonF head;
  head << tip + along * 0.16 << tip + outward * 0.13 << tip - outward * 0.13;
  painter.save();
  painter.setBrush(painter.pen().color());
  painter.drawPolygon(head);
  painter.restore();
}

void drawUnitIcon(QPainter& painter, Icon icon, qreal stroke) {
  switch (icon) {
    case Icon::waveform:
      painter.drawPath(polyline({{0.03, 0.55},
                                 {0.25, 0.55},
                                 {0.33, 0.36},
                                 {0.44, 0.82},
                                 {0.56, 0.14},
                                 {0.66, 0.64},
                                 {0.72, 0.55},
                                 {0.97, 0.55}}));
      return;
    case Icon::pictureInPicture: {
      painter.drawRoundedRect(QRectF(0.06, 0.2, 0.88, 0.62), 0.1, 0.1);
      painter.setBrush(painter.pen().color());
      painter.drawRoundedRect(QRectF(0.5, 0.3, 0.34, 0.22), 0.04, 0.04);
      return;
    }
    case Icon::ellipsisCircle: {
      painter.drawEllipse(QPointF(0.5, 0.5), 0.44, 0.44);
      const QColor color = painter.pen().color();
      painter.setPen(Qt::NoPen);
      painter.setBrush(color);
      const qreal dot = 0.045 + stroke / 4;
      for (const qreal x : {0.29, 0.5, 0.71}) painter.drawEllipse(QPointF(x, 0.5), dot, dot);
      return;
    }
    case Icon::checkmark:
      painter.drawPath(polyline({{0.14, 0.54}, {0.4, 0.8}, {0.88, 0.2}}));
      return;
    case Icon::star:
      painter.drawPath(starPath());
      return;
    case Icon::starFill:
      painter.setBrush(painter.pen().color());
      painter.drawPath(starPath());
      return;
    case Icon::expand:
      painter.drawPath(polyline({{0.44, 0.44}, {0.13, 0.13}}));
      painter.drawPath(polyline({{0.13, 0.42}, {0.13, 0.13}, {0.42, 0.13}}));
      painter.drawPath(polyline({{0.56, 0.56}, {0.87, 0.87}}));
      painter.drawPath(polyline({{0.58, 0.87}, {0.87, 0.87}, {0.87, 0.58}}));
      return;
    case Icon::reload:
      arcWithHead(painter, 25, 135);
      arcWithHead(painter, 205, 135);
      return;
    case Icon::close:
      painter.drawLine(QPointF(0.2, 0.2), QPointF(0.8, 0.8));
      painter.drawLine(QPointF(0.8, 0.2), QPointF(0.2, 0.8));
      return;
    case Icon::chevronDown:
      painter.drawPath(polyline({{0.18, 0.34}, {0.5, 0.66}, {0.82, 0.34}}));
      return;
  }
}

}  // namespace

void paintIcon(QPainter& painter, Icon icon, const QRectF& box, const QColor& color, Theme::Weight weight) {
  const qreal side = qMin(box.width(), box.height());
  if (side <= 0) return;
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  painter.translate(box.center() - QPointF(side / 2, side / 2));
  painter.scale(side, side);
  const qreal stroke = qMax(strokeWidth(weight), 1.0 / side);
  QPen pen(QBrush(color), stroke, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
  painter.setPen(pen);
  painter.setBrush(Qt::NoBrush);
  drawUnitIcon(painter, icon, stroke);
  painter.restore();
}

QIcon makeIcon(Icon icon, qreal size, const QColor& color, Theme::Weight weight) {
  QIcon out;
  const int side = qCeil(size);
  for (const int ratio : {1, 2}) {
    QPixmap pixmap(side * ratio, side * ratio);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    paintIcon(painter, icon, QRectF(0, 0, side, side), color, weight);
    painter.end();
    out.addPixmap(pixmap);
  }
  return out;
}

}  // namespace kesta::ui
