#include "ui/look/line_box.h"

#include <QFontMetricsF>
#include <QGlyphRun>
#include <QRawFont>
#include <QTextLayout>
#include <QtMath>

namespace kesta::ui {

namespace {

// The letters of each script a library holds whose ink reaches furthest
// from the baseline: accented capitals and descenders, Arabic's yeh and
// its vowel signs, Hebrew's final letters and points, Thai's stacked tone
// marks and the vowels under its tall consonants, Devanagari's vowel signs,
// Han, and an emoji.
const QString kDeepestAndHighest =
    QStringLiteral("ÅÉÑgjpqy ЁЙ في ليالي جؤ مُحَمَّد ךץ ל שָׁלוֹם น้ำ ค่ำ ปั่น ญู ฎ ฏ ฐุ ฤๅ र्कि दु ॐ 直愛 🔥");

// The ink of `text` set in `font` as Qt shapes it, each glyph from the face
// that draws it, relative to the baseline.
QRectF inkOf(const QFont& font, const QString& text) {
  QTextLayout layout(text, font);
  layout.beginLayout();
  const QTextLine line = layout.createLine();
  layout.endLayout();
  QRectF ink;
  for (const QGlyphRun& run : layout.glyphRuns()) {
    const QRawFont face = run.rawFont();
    const QList<quint32> glyphs = run.glyphIndexes();
    const QList<QPointF> positions = run.positions();
    for (qsizetype i = 0; i < glyphs.size(); ++i)
      ink |= face.boundingRect(glyphs[i]).translated(positions[i]);
  }
  return ink.translated(0, -line.ascent());
}

}  // namespace

LineBox lineBox(const QFont& font) {
  const QFontMetricsF metrics(font);
  const QRectF ink = inkOf(font, kDeepestAndHighest);
  return {qCeil(qMax(metrics.ascent(), -ink.top())), qCeil(qMax(metrics.descent(), ink.bottom()))};
}

}  // namespace kesta::ui
