#include "ui/look/fitted_text.h"

#include <QList>
#include <QStringList>
#include <QTextBoundaryFinder>
#include <optional>

namespace kesta::ui {

namespace {

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
// `figure` is figureMarks(text).
qsizetype soundCut(const QString& text, const QList<bool>& figure, qsizetype kept) {
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

// Whether the character at `at` joins the one before it, skipping marks: a
// cut there keeps the joined form of the last letter kept, as Qt's own cut
// does, with a joiner before the ellipsis.
bool joinsAcross(const QString& text, qsizetype at) {
  while (at < text.size() && text.at(at).category() == QChar::Mark_NonSpacing) ++at;
  if (at == 0 || at == text.size()) return false;
  const QChar::JoiningType joining = text.at(at).joiningType();
  return joining != QChar::Joining_None && joining != QChar::Joining_Transparent;
}

// `text` cut after `cut` characters, with an ellipsis; an ellipsis alone for none.
QString cutAt(const QString& text, qsizetype cut) {
  const QString whole = text.left(cut);
  return whole + (joinsAcross(text, cut) ? QString(kJoiner) : QString()) + kEllipsis + closers(whole);
}

// Where the character cluster before `at` begins.
qsizetype clusterBefore(const QString& text, qsizetype at) {
  QTextBoundaryFinder clusters(QTextBoundaryFinder::Grapheme, text);
  clusters.setPosition(at);
  return qMax<qsizetype>(clusters.toPreviousBoundary(), 0);
}

// How many characters of `text` Qt's cut `shown` keeps before its ellipsis
// (and the joiner it puts before one in a joining script); -1 when it shows
// none of the text.
qsizetype keptByQt(const QString& text, const QString& shown) {
  if (shown == text) return text.size();
  // Qt closes a direction isolate after the ellipsis, so look for the last one.
  const qsizetype ellipsis = shown.lastIndexOf(kEllipsis);
  const qsizetype kept = ellipsis > 0 && shown.at(ellipsis - 1) == kJoiner ? ellipsis - 1 : ellipsis;
  return kept >= 0 && text.startsWith(QStringView(shown).left(kept)) ? kept : -1;
}

// The first line `cut(over)` gives that fits `width`, the part being cut
// narrowed by the room the line ran over each time: joined parts may come
// out a little wider than measured apart (kerning, rounding, shaping across
// the join). Nothing once `cut` has nothing more to give.
template <typename Cut>
std::optional<QString> narrowedToFit(const QFontMetricsF& metrics, qreal width, Cut cut) {
  for (qreal over = 0;;) {
    const std::optional<QString> shown = cut(over);
    if (!shown) return std::nullopt;
    const qreal excess = metrics.horizontalAdvance(*shown) - width;
    if (excess <= 0) return shown;
    over += qMax<qreal>(excess, 1);
  }
}

}  // namespace

QString elided(const QFontMetricsF& metrics, const QString& text, qreal width) {
  const QString byQt = metrics.elidedText(text, Qt::ElideRight, width);
  if (byQt == text && metrics.horizontalAdvance(text) <= width) return text;
  const qsizetype kept = keptByQt(text, byQt);
  if (kept < 0) return metrics.horizontalAdvance(byQt) <= width ? byQt : QString();
  // Qt cuts wherever the width runs out: after a blank, a separator, an
  // opening bracket or a sign ("Extended …", "Drift (…", "· +…"), and inside
  // a figure ("+6.…"), which would then read as another.
  const QList<bool> figure = figureMarks(text);
  qsizetype cut = soundCut(text, figure, kept);
  QString shown = cut == kept ? byQt : cutAt(text, cut);
  // Qt measures the kept letters as the whole line shapes them, and the
  // ellipsis in the first face; cut off, a joining script's last letter
  // takes another form and the ellipsis another face, and the line may come
  // out wider: it is cut further until it fits.
  for (qreal advance = metrics.horizontalAdvance(shown); advance > width;
       advance = metrics.horizontalAdvance(shown)) {
    if (cut == 0) return {};
    cut = soundCut(text, figure, clusterBefore(text, cut));
    shown = cutAt(text, cut);
  }
  return shown;
}

QString fittedText(const QFontMetricsF& metrics, const QString& lead, const QString& tail, qreal width) {
  const QString whole = lead + tail;
  if (metrics.horizontalAdvance(whole) <= width) return whole;
  if (tail.isEmpty()) return elided(metrics, lead, width);
  const qreal tailWidth = metrics.horizontalAdvance(tail);
  const qreal ellipsisWidth = metrics.horizontalAdvance(kEllipsis);
  const auto leadCut = narrowedToFit(metrics, width, [&](qreal over) -> std::optional<QString> {
    if (tailWidth + ellipsisWidth + over > width) return std::nullopt;
    return elided(metrics, lead, width - tailWidth - over) + tail;
  });
  if (leadCut) return *leadCut;
  const auto tailCut = narrowedToFit(metrics, width, [&](qreal over) -> std::optional<QString> {
    const QString shownTail = elided(metrics, tail, width - ellipsisWidth - over);
    // A tail cut to its separator says nothing: the line is cut at its end.
    if (!hasWords(shownTail)) return std::nullopt;
    return kEllipsis + shownTail;
  });
  return tailCut ? *tailCut : elided(metrics, whole, width);
}

QString fittedKeepingLead(const QFontMetricsF& metrics, const QString& lead, const QString& tail,
                          qreal width) {
  const QString whole = lead + tail;
  if (metrics.horizontalAdvance(whole) <= width) return whole;
  if (tail.isEmpty() || lead.isEmpty()) return elided(metrics, whole, width);
  const qreal leadRoom = qMax(leadShare(metrics, lead, width), width - metrics.horizontalAdvance(tail));
  const auto shown = narrowedToFit(metrics, width, [&](qreal over) -> std::optional<QString> {
    const QString shownLead = elided(metrics, lead, leadRoom - over);
    const QString shownTail = elided(metrics, tail, width - metrics.horizontalAdvance(shownLead) - over);
    // A tail cut to its separator says nothing: the lead takes the line.
    if (!hasWords(shownTail)) return std::nullopt;
    return shownLead + shownTail;
  });
  return shown ? *shown : elided(metrics, whole, width);
}

QString firstFitting(const QFontMetricsF& metrics, const QStringList& forms, qreal width) {
  for (const QString& form : forms) {
    if (metrics.horizontalAdvance(form) <= width) return form;
  }
  return forms.isEmpty() ? QString() : elided(metrics, forms.last(), width);
}

}  // namespace kesta::ui
