#include "ui/look/status_text.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QTextLayout>
#include <QtMath>

#include "ui/look/fitted_text.h"
#include "ui/look/theme.h"

namespace kesta::ui {

StatusText::StatusText(const QString& text, int lines, QWidget* parent)
    : QWidget(parent), lines_(qMax(1, lines)) {
  setFont(Theme::captionFont());
  setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
  setFixedHeight(qRound(lines_ * Theme::kStatusLineHeight));
  setText(text);
}

namespace {

// Whether `text`, wrapped at words in `width`, takes at most `lines` lines.
bool fitsIn(const QFont& font, const QPaintDevice* device, const QString& text, qreal width, int lines) {
  QString flowing = text;
  flowing.replace(QLatin1Char('\n'), QChar::LineSeparator);
  // The layout only reads the device's resolution.
  QTextLayout layout(flowing, font, const_cast<QPaintDevice*>(device));
  QTextOption option;
  option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
  layout.setTextOption(option);
  layout.beginLayout();
  int used = 0;
  for (QTextLine line = layout.createLine(); line.isValid() && used <= lines; line = layout.createLine()) {
    line.setLineWidth(width);
    ++used;
  }
  layout.endLayout();
  return used <= lines;
}

}  // namespace

void StatusText::setText(const QString& text, const QString& shorter) {
  if (text == text_ && shorter == shorter_) return;
  text_ = text;
  shorter_ = shorter;
  setToolTip(text);
  update();
}

QString StatusText::shownText() const {
  if (shorter_.isEmpty() || fitsIn(font(), this, text_, width(), lines_)) return text_;
  return shorter_;
}

void StatusText::paintText(QPainter& painter, const QRectF& box, const QString& text, int lines) {
  const QFont font = painter.font();
  const QFontMetricsF metrics(font);
  QString flowing = text;
  flowing.replace(QLatin1Char('\n'), QChar::LineSeparator);
  QTextLayout layout(flowing, font, painter.device());
  QTextOption option(Qt::AlignLeft | Qt::AlignTop);
  option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
  layout.setTextOption(option);
  layout.setCacheEnabled(true);

  layout.beginLayout();
  qreal y = 0;
  int lastStart = -1;
  for (int n = 0; n < lines; ++n) {
    QTextLine line = layout.createLine();
    if (!line.isValid()) break;
    line.setLineWidth(box.width());
    if (n == lines - 1) {
      lastStart = line.textStart();
      break;
    }
    line.setPosition(QPointF(0, y));
    y += metrics.lineSpacing();
  }
  layout.endLayout();

  for (int i = 0; i < layout.lineCount() - (lastStart >= 0 ? 1 : 0); ++i) {
    layout.lineAt(i).draw(&painter, box.topLeft());
  }
  if (lastStart >= 0) {
    // The rest of the text goes on the last line, cut at the end when it does not fit.
    QString rest = flowing.mid(lastStart);
    rest.replace(QChar::LineSeparator, QLatin1Char(' '));
    const QString shown = elided(metrics, rest, box.width());
    painter.drawText(QPointF(box.left(), box.top() + y + metrics.ascent()), shown);
  }
}

// No width of its own: it takes whatever the row leaves, so a long text never crowds its neighbours.
QSize StatusText::sizeHint() const { return {0, height()}; }

QSize StatusText::minimumSizeHint() const { return sizeHint(); }

void StatusText::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setFont(font());
  painter.setPen(Theme::muted());
  paintText(painter, QRectF(rect()), shownText(), lines_);
}

}  // namespace kesta::ui
