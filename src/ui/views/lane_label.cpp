#include "ui/views/lane_label.h"

#include <QFontMetricsF>
#include <QtMath>

#include "ui/look/theme.h"
#include "ui/shell/utf8_text.h"

namespace kesta::ui {

namespace {

QString name(Lane lane) { return toQString(lane.shortTitle()); }

}  // namespace

LaneLabel::LaneLabel(Lane lane, const QFont& font, int frameWidth, QWidget* parent)
    : TextLine(font, lane == Lane::pivot ? Theme::warn() : Theme::lime(), parent) {
  setText(name(lane));
  const QFontMetricsF metrics(font);
  qreal widest = frameWidth;
  for (const Lane each : Lane::allCases()) widest = qMax(widest, metrics.horizontalAdvance(name(each)));
  setFixedWidth(qCeil(widest));
}

}  // namespace kesta::ui
