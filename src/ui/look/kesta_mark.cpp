#include "ui/look/kesta_mark.h"

#include <QPainter>
#include <QPixmap>
#include <QtMath>

#include "ui/look/icons.h"
#include "ui/look/rounded_shape.h"
#include "ui/look/theme.h"

namespace kesta::ui {

KestaMark::KestaMark(qreal size, QWidget* parent) : QWidget(parent), size_(size) {
  setFixedSize(qCeil(size), qCeil(size));
  setAttribute(Qt::WA_TranslucentBackground);
}

qreal KestaMark::strokeWidth(qreal size) {
  return qMax(Theme::kMarkStrokeRatio * size, Theme::kMarkMinimumStroke);
}

void KestaMark::paint(QPainter& painter, const QRectF& box) {
  const qreal size = qMin(box.width(), box.height());
  const QRectF square(box.center() - QPointF(size / 2, size / 2), QSizeF(size, size));
  const qreal stroke = strokeWidth(size);
  // The rim is kept inside the square, so none of it is cut off by the widget's edge.
  const QRectF tile = square.adjusted(stroke / 2, stroke / 2, -stroke / 2, -stroke / 2);
  const QPainterPath outline = continuousRoundedRect(tile, Theme::kMarkCornerRatio * size);

  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  painter.fillPath(outline, Theme::faded(Theme::lime(), Theme::kMarkFillOpacity));
  QPen rim(Theme::lime(), stroke, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin);
  rim.setMiterLimit(10);
  painter.strokePath(outline, rim);
  painter.restore();

  const qreal symbol = Theme::kMarkSymbolRatio * size;
  const QRectF symbolBox(square.center() - QPointF(symbol / 2, symbol / 2), QSizeF(symbol, symbol));
  paintIcon(painter, Icon::waveform, symbolBox, Theme::lime(), Theme::Weight::bold);
}

QImage KestaMark::iconImage(int pixels) {
  QImage image(pixels, pixels, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  const QRectF box(0, 0, pixels, pixels);
  painter.fillPath(continuousRoundedRect(box, Theme::kMarkCornerRatio * pixels), Theme::background());
  paint(painter, box);
  return image;
}

QIcon KestaMark::icon() {
  QIcon icon;
  for (const int pixels : kIconSizes) icon.addPixmap(QPixmap::fromImage(iconImage(pixels)));
  return icon;
}

void KestaMark::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  paint(painter, QRectF(rect()));
}

}  // namespace kesta::ui
