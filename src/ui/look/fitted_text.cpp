#include "ui/look/fitted_text.h"

#include <QStringList>

namespace kesta::ui {

namespace {

// Joined texts may be a little wider than their parts measured apart
// (kerning, rounding): the lead gives up a pixel until the whole fits.
constexpr int kTries = 4;

}  // namespace

QString fittedText(const QFontMetricsF& metrics, const QString& lead, const QString& tail, qreal width) {
  const QString whole = lead + tail;
  if (metrics.horizontalAdvance(whole) <= width) return whole;
  if (tail.isEmpty()) return metrics.elidedText(lead, Qt::ElideRight, width);
  const QString ellipsis = QStringLiteral("…");
  const qreal tailWidth = metrics.horizontalAdvance(tail);
  if (tailWidth + metrics.horizontalAdvance(ellipsis) > width) {
    return ellipsis + metrics.elidedText(tail, Qt::ElideRight, width - metrics.horizontalAdvance(ellipsis));
  }
  QString shown;
  for (int attempt = 0; attempt < kTries; ++attempt) {
    shown = metrics.elidedText(lead, Qt::ElideRight, width - tailWidth - attempt) + tail;
    if (metrics.horizontalAdvance(shown) <= width) break;
  }
  return shown;
}

QString firstFitting(const QFontMetricsF& metrics, const QStringList& forms, qreal width) {
  for (const QString& form : forms) {
    if (metrics.horizontalAdvance(form) <= width) return form;
  }
  return forms.isEmpty() ? QString() : metrics.elidedText(forms.last(), Qt::ElideRight, width);
}

}  // namespace kesta::ui
