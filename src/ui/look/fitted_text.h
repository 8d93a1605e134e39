#pragma once

#include <QFontMetricsF>
#include <QString>

namespace kesta::ui {

// One line of text fitted to a width, cutting what matters least first. Pure
// over the font's metrics; any thread. Texts may carry invisible direction
// marks around names: Qt's cut closes them, and the cuts here keep that.
// A fitted line is never wider than its width, as the metrics measure it:
// each cut goes on until it fits, to an ellipsis alone, or to nothing where
// not even an ellipsis fits.

// `text` whole when it fits in `width`, else cut at its end with an ellipsis
// that follows the last kept word ("Extended…", never "Extended …" or
// "same key ·…"). A figure runs from a word's first digit to the word's end
// ("6.2", "11A", the "2020" of "Mix2020"); it is kept whole or dropped with
// its signs, while the letters before it may stay ("Mix…"). A cut never ends
// on an opening bracket or a sign: "… away…", never "… away · +6.…" or
// "… away · +…"; "Polar Drift…", never "Polar Drift (…".
QString elided(const QFontMetricsF& metrics, const QString& text, qreal width);

// `lead` + `tail` whole when it fits in `width`; otherwise the lead cut at its
// end with an ellipsis and the tail whole after it ("Kasim… · 124 BPM · 8A");
// when even the tail and an ellipsis do not fit, an ellipsis for the lead and
// the tail cut at its end ("… · +2.4% tempo · adjacent k…"). A line without
// a tail is cut at its end.
QString fittedText(const QFontMetricsF& metrics, const QString& lead, const QString& tail, qreal width);

// As `fittedText`, but the lead always keeps its first word or about a third
// of the line, so the line never begins with the ellipsis: when the tail does
// not fit beside that, the tail is cut at its end instead
// ("Kasimir… · 8A→11A, down a mi…").
QString fittedKeepingLead(const QFontMetricsF& metrics, const QString& lead, const QString& tail,
                          qreal width);

// The first of `forms` (longest first) that fits `width` whole; when none
// does, the last one cut at its end. Empty for no forms.
QString firstFitting(const QFontMetricsF& metrics, const QStringList& forms, qreal width);

}  // namespace kesta::ui
