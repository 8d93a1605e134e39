#include "ui/look/fitted_text.h"

#include <QStringList>

namespace kesta::ui {

namespace {

// Joined texts may be a little wider than their parts measured apart
// (kerning, rounding): the cut part gives up a pixel until the whole fits.
constexpr int kTries = 4;

const QChar kEllipsis(0x2026);
const QChar kSeparator(0x00B7);
// The lead's least room: its first word and an ellipsis, but no less than a
// third of the line and no more than half of it.
qreal leadShare(const QFontMetricsF& metrics, const QString& lead, qreal width) {
  const QString trimmed = lead.trimmed();
  const qsizetype space = trimmed.indexOf(QLatin1Char(' '));
  const QString firstWord = space < 0 ? trimmed : trimmed.left(space) + kEllipsis;
  // Qt's cut wants a little more than the text's own advance.
  return qBound(width / 3, metrics.horizontalAdvance(firstWord) + 1, width / 2);
}

// Whether a cut text says anything beyond its separators and the ellipsis.
bool hasWords(const QString& text) {
  for (const QChar c : text) {
    if (c.isLetterOrNumber()) return true;
  }
  return false;
}

}  // namespace

QString elided(const QFontMetricsF& metrics, const QString& text, qreal width) {
  QString shown = metrics.elidedText(text, Qt::ElideRight, width);
  if (shown == text) return shown;
  // Qt cuts after a blank or a separator as readily as after a letter
  // ("Extended …", "same key ·…"); it closes a direction isolate after the
  // ellipsis, so look for the last one.
  const qsizetype ellipsis = shown.lastIndexOf(kEllipsis);
  // In a joining script (Arabic) Qt puts a joiner before the ellipsis; after
  // a blank it joins nothing and goes with it.
  const qsizetype mark = ellipsis > 0 && shown.at(ellipsis - 1) == QChar(0x200D) ? ellipsis - 1 : ellipsis;
  qsizetype start = mark;
  while (start > 0 && (shown.at(start - 1).isSpace() || shown.at(start - 1) == kSeparator)) --start;
  if (start < mark) shown.remove(start, ellipsis - start);
  return shown;
}

QString fittedText(const QFontMetricsF& metrics, const QString& lead, const QString& tail, qreal width) {
  const QString whole = lead + tail;
  if (metrics.horizontalAdvance(whole) <= width) return whole;
  if (tail.isEmpty()) return elided(metrics, lead, width);
  const qreal tailWidth = metrics.horizontalAdvance(tail);
  if (tailWidth + metrics.horizontalAdvance(kEllipsis) > width) {
    return kEllipsis + elided(metrics, tail, width - metrics.horizontalAdvance(kEllipsis));
  }
  QString shown;
  for (int attempt = 0; attempt < kTries; ++attempt) {
    shown = elided(metrics, lead, width - tailWidth - attempt) + tail;
    if (metrics.horizontalAdvance(shown) <= width) break;
  }
  return shown;
}

QString fittedKeepingLead(const QFontMetricsF& metrics, const QString& lead, const QString& tail,
                          qreal width) {
  const QString whole = lead + tail;
  if (metrics.horizontalAdvance(whole) <= width) return whole;
  if (tail.isEmpty() || lead.isEmpty()) return elided(metrics, whole, width);
  const qreal leadRoom = qMax(leadShare(metrics, lead, width), width - metrics.horizontalAdvance(tail));
  QString shown;
  for (int attempt = 0; attempt < kTries; ++attempt) {
    const QString shownLead = elided(metrics, lead, leadRoom - attempt);
    const QString shownTail = elided(metrics, tail, width - metrics.horizontalAdvance(shownLead) - attempt);
    // A tail cut to its separator says nothing: the lead takes the line.
    if (!hasWords(shownTail)) return elided(metrics, whole, width);
    shown = shownLead + shownTail;
    if (metrics.horizontalAdvance(shown) <= width) break;
  }
  return shown;
}

QString firstFitting(const QFontMetricsF& metrics, const QStringList& forms, qreal width) {
  for (const QString& form : forms) {
    if (metrics.horizontalAdvance(form) <= width) return form;
  }
  return forms.isEmpty() ? QString() : elided(metrics, forms.last(), width);
}

}  // namespace kesta::ui
