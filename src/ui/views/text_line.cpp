#include "ui/views/text_line.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QTextLayout>
#include <QtMath>

#include "ui/look/fitted_text.h"
#include "ui/look/status_text.h"

namespace kesta::ui {

namespace {

// One line holds no line breaks: a title that carries one reads as one line.
QString oneLine(const QString& text) {
  QString flat = text;
  flat.replace(QLatin1Char('\n'), QLatin1Char(' '));
  return flat;
}

// How many of at most `lines` lines `text` takes, wrapped at words, in `width`.
int usedLines(const QFont& font, const QString& text, qreal width, int lines) {
  QString flowing = text;
  flowing.replace(QLatin1Char('\n'), QChar::LineSeparator);
  QTextLayout layout(flowing, font);
  QTextOption option;
  option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
  layout.setTextOption(option);
  layout.beginLayout();
  int used = 0;
  while (used < lines) {
    QTextLine line = layout.createLine();
    if (!line.isValid()) break;
    line.setLineWidth(width);
    ++used;
  }
  layout.endLayout();
  return qMax(1, used);
}

}  // namespace

TextLine::TextLine(const QFont& font, const QColor& color, QWidget* parent)
    : QWidget(parent), font_(font), box_(lineBox(font)), color_(color) {
  setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

void TextLine::setText(const QString& text) { setText(text, {}); }

void TextLine::setText(const QString& lead, const QString& tail) {
  const QString text = lead + tail;
  if (text == text_ && tail == tail_) return;
  text_ = text;
  tail_ = tail;
  if (!compressible_) updateGeometry();
  update();
}

void TextLine::setKeepsLead(bool keeps) {
  if (keeps == keepsLead_) return;
  keepsLead_ = keeps;
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
  box_ = lineBox(font);
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
  const QString lead = text_.left(text_.size() - tail_.size());
  const QFontMetricsF metrics(font_);
  if (keepsLead_) return fittedKeepingLead(metrics, oneLine(lead), oneLine(tail_), width());
  return fittedText(metrics, oneLine(lead), oneLine(tail_), width());
}

QSize TextLine::sizeHint() const {
  const QFontMetricsF metrics(font_);
  const qreal between = (lines_ - 1) * metrics.lineSpacing();
  return {qCeil(metrics.horizontalAdvance(oneLine(text_))), qCeil(box_.height() + between)};
}

QSize TextLine::minimumSizeHint() const {
  const QSize natural = sizeHint();
  return compressible_ ? QSize(0, natural.height()) : natural;
}

void TextLine::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setFont(font_);
  painter.setPen(color_);
  // A line runs in the direction of its first letter outside isolated names:
  // a right-to-left title alone reads right to left, while a line of Kesta's
  // own text with a name in it stays left to right.
  painter.setLayoutDirection(Qt::LayoutDirectionAuto);
  const QFontMetricsF metrics(font_);
  if (lines_ > 1) {
    // Fewer lines than the box holds sit in its middle, as a single line does.
    const int spare = lines_ - usedLines(font_, text_, width(), lines_);
    painter.translate(0, box_.above - metrics.ascent() + spare * metrics.lineSpacing() / 2);
    StatusText::paintText(painter, QRectF(rect()), text_, lines_);
    return;
  }
  const QString shown = shownText();
  const qreal advance = metrics.horizontalAdvance(shown);
  qreal x = 0;
  if (alignment_ & Qt::AlignRight) x = width() - advance;
  if (alignment_ & Qt::AlignHCenter) x = (width() - advance) / 2;
  painter.drawText(QPointF(x, box_.above), shown);
}

}  // namespace kesta::ui
