#include "ui/look/chip_style.h"

#include <QFontMetricsF>
#include <QImage>
#include <QPaintDevice>
#include <QPainter>
#include <QtMath>

#include "ui/look/fitted_text.h"
#include "ui/look/rounded_shape.h"
#include "ui/look/theme.h"

namespace kesta::ui {

namespace {

// The symbol is as tall as the text's capitals and a little more.
qreal symbolSize(const QFont& font) { return QFontMetricsF(font).capHeight() * 1.35; }

// The room the text has beside the symbol in a chip `width` wide.
qreal textRoom(const ChipLabel& label, qreal width) {
  const qreal symbol = label.symbol ? symbolSize(label.font) : 0;
  const qreal gap = label.symbol && !label.text.isEmpty() ? Theme::kChipIconSpacing : 0;
  return qMax<qreal>(0, width - 2 * Theme::kChipPaddingX - symbol - gap);
}

}  // namespace

QFont ChipStyle::defaultFont() { return Theme::font(Theme::kChipFontSize, Theme::Weight::semibold); }

QColor ChipStyle::labelColor() const { return prominent ? QColor(Qt::black) : QColor(Qt::white); }

QColor ChipStyle::fill(bool pressed) const {
  if (prominent) return Theme::faded(Theme::lime(), pressed ? Theme::kChipPressedProminent : 1.0);
  return Theme::faded(Theme::raised(), pressed ? Theme::kChipPressedPlain : 1.0);
}

QSizeF ChipStyle::size(const ChipLabel& label) {
  const QFontMetricsF metrics(label.font);
  qreal width = metrics.horizontalAdvance(label.text + label.tail);
  if (label.symbol) {
    width += symbolSize(label.font) + (label.text.isEmpty() ? 0 : Theme::kChipIconSpacing);
  }
  return {qCeil(width) + 2 * Theme::kChipPaddingX, qCeil(metrics.height()) + 2 * Theme::kChipPaddingY};
}

QString ChipStyle::shownText(const ChipLabel& label, qreal width) {
  const QFontMetricsF metrics(label.font);
  const qreal room = textRoom(label, width);
  if (label.shorter.isEmpty()) return fittedText(metrics, label.text, label.tail, room);
  return firstFitting(metrics, QStringList{label.text + label.tail} + label.shorter, room);
}

void ChipStyle::paint(QPainter& painter, const QRectF& rect, const ChipLabel& label, bool pressed,
                      bool enabled) const {
  if (rect.isEmpty()) return;
  if (enabled) {
    paintOpaque(painter, rect, label, pressed);
    return;
  }
  // A disabled chip fades as one picture, so its text does not show the fill through.
  const qreal ratio = painter.device() ? painter.device()->devicePixelRatioF() : 1.0;
  QImage layer((rect.size() * ratio).toSize(), QImage::Format_ARGB32_Premultiplied);
  layer.setDevicePixelRatio(ratio);
  layer.fill(Qt::transparent);
  QPainter layerPainter(&layer);
  paintOpaque(layerPainter, QRectF(QPointF(0, 0), rect.size()), label, pressed);
  layerPainter.end();
  painter.save();
  painter.setOpacity(painter.opacity() * Theme::kChipDisabledOpacity);
  painter.drawImage(rect.topLeft(), layer);
  painter.restore();
}

void ChipStyle::paintOpaque(QPainter& painter, const QRectF& rect, const ChipLabel& label,
                            bool pressed) const {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  painter.fillPath(continuousRoundedRect(rect, Theme::kChipRadius), fill(pressed));

  const QRectF inner = rect.adjusted(Theme::kChipPaddingX, 0, -Theme::kChipPaddingX, 0);
  const QFontMetricsF metrics(label.font);
  const qreal symbol = label.symbol ? symbolSize(label.font) : 0;
  const qreal gap = label.symbol && !label.text.isEmpty() ? Theme::kChipIconSpacing : 0;
  const QString text = shownText(label, rect.width());
  const qreal width = symbol + gap + metrics.horizontalAdvance(text);
  qreal x = inner.left() + qMax<qreal>(0, (inner.width() - width) / 2);
  if (label.symbol) {
    const QRectF box(x, rect.center().y() - symbol / 2, symbol, symbol);
    const bool heavy = label.font.weight() >= QFont::DemiBold;
    paintIcon(painter, *label.symbol, box, labelColor(),
              heavy ? Theme::Weight::semibold : Theme::Weight::regular);
    x += symbol + gap;
  }
  painter.setFont(label.font);
  painter.setPen(labelColor());
  painter.drawText(QRectF(x, rect.top(), inner.right() - x, rect.height()), Qt::AlignLeft | Qt::AlignVCenter,
                   text);
  painter.restore();
}

}  // namespace kesta::ui
