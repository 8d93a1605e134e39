#include "ui/look/live_dot.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QtMath>

#include "ui/look/theme.h"

namespace kesta::ui {

namespace {

QFont dotFont() { return Theme::font(Theme::kDotFontSize, Theme::Weight::bold, Theme::kDotTracking); }

}  // namespace

LiveDot::Look LiveDot::look(bool on, bool problem) {
  if (!on) return {Theme::muted(), tr("READY")};
  if (problem) return {Theme::warn(), tr("CAN'T SEE")};
  return {Theme::lime(), tr("LIVE")};
}

LiveDot::LiveDot(bool on, bool problem, QWidget* parent) : QWidget(parent), on_(on), problem_(problem) {
  setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void LiveDot::setState(bool on, bool problem) {
  if (on == on_ && problem == problem_) return;
  const bool resized = look(on, problem).label != look(on_, problem_).label;
  on_ = on;
  problem_ = problem;
  if (resized) updateGeometry();
  update();
}

QSize LiveDot::sizeHint() const {
  const QFontMetricsF metrics(dotFont());
  const qreal width =
      Theme::kDotDiameter + Theme::kDotSpacing + metrics.horizontalAdvance(look(on_, problem_).label);
  return {qCeil(width), qCeil(qMax<qreal>(Theme::kDotDiameter, metrics.height()))};
}

void LiveDot::paintEvent(QPaintEvent*) {
  const Look shown = look(on_, problem_);
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  const qreal middle = height() / 2.0;
  painter.setPen(Qt::NoPen);
  painter.setBrush(shown.color);
  painter.drawEllipse(QRectF(0, middle - Theme::kDotDiameter / 2, Theme::kDotDiameter, Theme::kDotDiameter));
  painter.setFont(dotFont());
  painter.setPen(shown.color);
  const qreal x = Theme::kDotDiameter + Theme::kDotSpacing;
  painter.drawText(QRectF(x, 0, width() - x, height()), Qt::AlignLeft | Qt::AlignVCenter, shown.label);
}

}  // namespace kesta::ui
