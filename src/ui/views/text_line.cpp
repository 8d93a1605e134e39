#include "ui/views/text_line.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QtMath>

#include "ui/look/status_text.h"

namespace kesta::ui {

namespace {

// One line holds no line breaks: a title that carries one reads as one line.
QString oneLine(const QString& text) {
  QString flat = text;
  flat.replace(QLatin1Char('\n'), QLatin1Char(' '));
  return flat;
}

}  // namespace

TextLine::TextLine(const QFont& font, const QColor& color, QWidget* parent)
    : QWidget(parent), font_(font), color_(color) {
  setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

void TextLine::setText(const QString& text) {
  if (text == text_) return;
  text_ = text;
  if (!compressible_) updateGeometry();
  update();
}

void TextLine::setColor(const QColor& color) {
  if (color == color_) return;
  color_ = color;
  update();
}

void TextLine::setTextFont(const QFont& font) {
  if (font == font_) return;
  font_ = font;
  updateGeometry();
  update();
}

void TextLine::setLines(int lines) {
  lines = qMax(1, lines);
  if (lines == lines_) return;
  lines_ = lines;
  updateGeometry();
  update();
}

void TextLine::setCompressible(bool compressible) {
  if (compressible == compressible_) return;
  compressible_ = compressible;
  setSizePolicy(compressible ? QSizePolicy::Preferred : QSizePolicy::Fixed, QSizePolicy::Fixed);
  updateGeometry();
}

void TextLine::setAlignment(Qt::Alignment alignment) {
  if (alignment == alignment_) return;
  alignment_ = alignment;
  update();
}

QString TextLine::shownText() const {
  return QFontMetricsF(font_).elidedText(oneLine(text_), Qt::ElideRight, width());
}

QSize TextLine::sizeHint() const {
  const QFontMetricsF metrics(font_);
  return {qCeil(metrics.horizontalAdvance(oneLine(text_))), qCeil(lines_ * metrics.height())};
}

QSize TextLine::minimumSizeHint() const {
  const QSize natural = sizeHint();
  return compressible_ ? QSize(0, natural.height()) : natural;
}

void TextLine::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setFont(font_);
  painter.setPen(color_);
  if (lines_ > 1) {
    StatusText::paintText(painter, QRectF(rect()), text_, lines_);
    return;
  }
  const QFontMetricsF metrics(font_);
  const QString shown = shownText();
  const qreal advance = metrics.horizontalAdvance(shown);
  qreal x = 0;
  if (alignment_ & Qt::AlignRight) x = width() - advance;
  if (alignment_ & Qt::AlignHCenter) x = (width() - advance) / 2;
  painter.drawText(QPointF(x, metrics.ascent()), shown);
}

}  // namespace kesta::ui
