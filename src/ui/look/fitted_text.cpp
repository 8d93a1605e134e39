#include "ui/look/fitted_text.h"

#include <QList>
#include <QStringList>
#include <QTextBoundaryFinder>

namespace kesta::ui {

namespace {

// Joined texts may be a little wider than their parts measured apart
// (kerning, rounding): the cut part gives up a pixel until the whole fits.
constexpr int kTries = 4;

const QChar kEllipsis(0x2026);
const QChar kSeparator(0x00B7);
const QChar kJoiner(0x200D);
const QChar kPopIsolate(0x2069);

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

bool opensIsolate(QChar c) { return c.unicode() >= 0x2066 && c.unicode() <= 0x2068; }

bool isArrow(QChar c) { return c.unicode() >= 0x2190 && c.unicode() <= 0x21FF; }

// A sign: "+", "-", "−", "±", "→" and the like.
bool isSign(QChar c) {
  return c.category() == QChar::Symbol_Math || c.category() == QChar::Punctuation_Dash || isArrow(c);
}

// What holds a figure together besides its digits: "+6.2%", "-0.8%",
// "8A→11A", "1,024", "٢٫٥٪".
bool bindsFigure(QChar c) {
  static const QString marks = QStringLiteral(u".,:/%\u2030\u066A\u066B\u066C");
  return isSign(c) || marks.contains(c);
}

// What a cut never ends on: a blank, a separator, a joiner, an opening
// bracket, quote or isolate, or a sign.
bool endsBadly(QChar c) {
  return c.isSpace() || c == kSeparator || c == kJoiner || opensIsolate(c) || isSign(c) ||
         c.category() == QChar::Punctuation_Open || c.category() == QChar::Punctuation_InitialQuote;
}

// Which characters of `text` belong to a figure: in each word that holds a
// digit, from its first digit to the word's end ("124", "6.2", "11A", the
// "2024" of "서울2024"), with the signs and marks that touch it. The letters
// before the first digit are the word's own, so a cut may keep them.
QList<bool> figureMarks(const QString& text) {
  QList<bool> marks(text.size(), false);
  QTextBoundaryFinder words(QTextBoundaryFinder::Word, text);
  qsizetype start = 0;
  for (qsizetype end = words.toNextBoundary(); end > start; start = end, end = words.toNextBoundary()) {
    qsizetype i = start;
    while (i < end && !text.at(i).isDigit()) ++i;
    for (; i < end; ++i) marks[i] = true;
  }
  for (qsizetype i = 1; i < text.size(); ++i)
    marks[i] = marks[i] || (marks[i - 1] && bindsFigure(text.at(i)));
  for (qsizetype i = text.size() - 2; i >= 0; --i)
    marks[i] = marks[i] || (marks[i + 1] && bindsFigure(text.at(i)));
  return marks;
}

// Where a cut of `text` after `kept` characters may end: before a figure it
// would split, and before what it must not end on, until neither holds.
qsizetype soundCut(const QString& text, qsizetype kept) {
  const QList<bool> figure = figureMarks(text);
  qsizetype cut = kept;
  for (qsizetype before = -1; before != cut;) {
    before = cut;
    while (cut > 0 && cut < text.size() && figure[cut - 1] && figure[cut]) --cut;
    while (cut > 0 && endsBadly(text.at(cut - 1))) --cut;
  }
  return cut;
}

// A mark closing each direction isolate that `text` leaves open.
QString closers(const QString& text) {
  qsizetype open = 0;
  for (const QChar c : text) {
    if (opensIsolate(c)) ++open;
    if (c == kPopIsolate && open > 0) --open;
  }
  return QString(open, kPopIsolate);
}

}  // namespace

QString elided(const QFontMetricsF& metrics, const QString& text, qreal width) {
  const QString shown = metrics.elidedText(text, Qt::ElideRight, width);
  if (shown == text) return shown;
  // Qt closes a direction isolate after the ellipsis, so look for the last one.
  const qsizetype ellipsis = shown.lastIndexOf(kEllipsis);
  // In a joining script (Arabic) Qt puts a joiner before the ellipsis.
  const qsizetype kept = ellipsis > 0 && shown.at(ellipsis - 1) == kJoiner ? ellipsis - 1 : ellipsis;
  if (kept < 0 || !text.startsWith(QStringView(shown).left(kept))) return shown;
  // Qt cuts wherever the width runs out: after a blank, a separator, an
  // opening bracket or a sign ("Extended …", "Drift (…", "· +…"), and inside
  // a figure ("+6.…"), which would then read as another.
  const qsizetype cut = soundCut(text, kept);
  if (cut == kept) return shown;
  const QString whole = text.left(cut);
  return whole + kEllipsis + closers(whole);
}

QString fittedText(const QFontMetricsF& metrics, const QString& lead, const QString& tail, qreal width) {
  const QString whole = lead + tail;
  if (metrics.horizontalAdvance(whole) <= width) return whole;
  if (tail.isEmpty()) return elided(metrics, lead, width);
  const qreal tailWidth = metrics.horizontalAdvance(tail);
  if (tailWidth + metrics.horizontalAdvance(kEllipsis) > width) {
    const QString shownTail = elided(metrics, tail, width - metrics.horizontalAdvance(kEllipsis));
    // A tail cut to its separator says nothing: the line is cut at its end.
    return hasWords(shownTail) ? kEllipsis + shownTail : elided(metrics, whole, width);
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
