#include <gtest/gtest.h>

#include <QFontMetricsF>
#include <QGlyphRun>
#include <QImage>
#include <QPainter>
#include <QRawFont>
#include <QTextLayout>

#include "ui/look/theme.h"

namespace kesta::ui {
namespace {

// One line of a library in each script a DJ's export may hold, and the face
// that must set its letters (none for kana, Hangul and Han: the CJK face of
// the desktop's language); Latin, Cyrillic and Greek letters and the shared
// punctuation are always set in Inter.
struct ScriptLine {
  const char* script;
  QString text;
  const char* face;
};

constexpr const char* kDesktopCjk = nullptr;

const ScriptLine kLines[] = {
    {"Japanese", QStringLiteral("東京ナイト (Extended Mix) · 坂本 リョウ"), kDesktopCjk},
    {"Korean", QStringLiteral("서울의 밤"), kDesktopCjk},
    {"Simplified Chinese", QStringLiteral("爱情转移 · 陈奕迅"), kDesktopCjk},
    {"Traditional Chinese", QStringLiteral("愛情轉移 · 陳奕迅"), kDesktopCjk},
    {"Arabic", QStringLiteral("طريق الحب (Club Edit) · فيروز الصغيرة"), "Noto Sans Arabic"},
    {"Hebrew", QStringLiteral("שיר לשלום"), "Noto Sans Hebrew"},
    {"Thai", QStringLiteral("คำสัญญา ที่รัก"), "Noto Sans Thai"},
    {"Devanagari", QStringLiteral("दिल से रे"), "Noto Sans Devanagari"},
    {"Cyrillic", QStringLiteral("Ночной город · Ёлка"), "Inter"},
    {"Greek", QStringLiteral("Νύχτα στην πόλη"), "Inter"},
    {"accented Latin", QStringLiteral("RÜFÜS DU SOL – Ñandú Édit · Øst Łódź"), "Inter"},
    {"emoji", QStringLiteral("Fire 🔥 Dancefloor 💃"), "Noto Color Emoji"},
    {"isolated name", QStringLiteral("\u2068فيروز\u2069 · -0.8% tempo · same key"), "Noto Sans Arabic"},
};

// The face that must draw `c` of a line in `face`: Inter for Latin,
// Cyrillic and Greek letters and for digits, the line's face for its own
// script's letters and for emoji, any face that has them for spaces and
// punctuation (a space between Thai words comes with the Thai face).
const char* expectedFace(char32_t c, const char* face) {
  if (face == kDesktopCjk) face = Theme::hanFamily(Theme::desktopLanguage());
  switch (QChar::script(c)) {
    case QChar::Script_Latin:
    case QChar::Script_Cyrillic:
    case QChar::Script_Greek:
      return "Inter";
    case QChar::Script_Common:
    case QChar::Script_Inherited:
      if (QChar::isDigit(c)) return "Inter";
      return QChar::category(c) == QChar::Symbol_Other ? face : nullptr;
    default:
      return face;
  }
}

// The faces every character of `text` is drawn from, checked one character
// at a time: each glyph is a real one, from a face that maps the character.
void expectDrawnByItsFace(const QFont& font, const ScriptLine& line) {
  QTextLayout layout(line.text, font);
  layout.beginLayout();
  layout.createLine();
  layout.endLayout();
  const QList<uint> chars = line.text.toUcs4();
  int at = 0;
  for (const uint c : chars) {
    const int length = QChar::requiresSurrogates(c) ? 2 : 1;
    const bool isolate = c == 0x2068 || c == 0x2069;
    if (!isolate) {
      const QList<QGlyphRun> runs = layout.glyphRuns(at, length);
      ASSERT_FALSE(runs.isEmpty()) << line.script << " U+" << std::hex << c;
      for (const QGlyphRun& run : runs) {
        const QRawFont raw = run.rawFont();
        const QString family = raw.familyName();
        EXPECT_TRUE(raw.supportsCharacter(c))
            << line.script << " U+" << std::hex << c << " in " << family.toStdString();
        for (const quint32 glyph : run.glyphIndexes())
          EXPECT_NE(glyph, 0u) << line.script << " U+" << std::hex << c;
        const char* face = expectedFace(c, line.face);
        if (face != nullptr) {
          EXPECT_EQ(family.toStdString(), face) << line.script << " U+" << std::hex << c;
        }
      }
    }
    at += length;
  }
}

TEST(ScriptGlyphs, EveryScriptOfALibraryIsDrawnFromAFaceThatHasIt) {
  const QFont fonts[] = {Theme::font(Theme::kBodySize),
                         Theme::font(Theme::kLaneTitleFontSize, Theme::Weight::semibold),
                         Theme::font(Theme::kNowPlayingTitleFontSize, Theme::Weight::bold),
                         Theme::font(Theme::kCardLaneLabelFontSize, Theme::Weight::heavy)};
  for (const QFont& font : fonts) {
    for (const ScriptLine& line : kLines) expectDrawnByItsFace(font, line);
  }
}

// The marks that set a name apart in its direction are not drawn: they take
// no room, so a line with them is as wide as the same line without.
TEST(ScriptGlyphs, DirectionMarksTakeNoRoom) {
  const QFontMetricsF metrics(Theme::font(Theme::kLaneDetailFontSize));
  const QString plain = QStringLiteral("Deck 1 · فيروز · 124 BPM");
  const QString marked = QStringLiteral("Deck 1 · \u2068فيروز\u2069 · 124 BPM");
  EXPECT_DOUBLE_EQ(metrics.horizontalAdvance(marked), metrics.horizontalAdvance(plain));
}

// The emoji face holds bitmaps in colour: drawn in white on black, an emoji
// that came out as an outline or a box would have no colour at all.
TEST(ScriptGlyphs, EmojiAreDrawnInColour) {
  QImage image(48, 32, QImage::Format_RGB32);
  image.fill(Qt::black);
  QPainter painter(&image);
  painter.setFont(Theme::font(Theme::kLaneTitleFontSize));
  painter.setPen(Qt::white);
  painter.drawText(QPointF(4, 22), QStringLiteral("🔥"));
  painter.end();
  int strongest = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      const QColor c = image.pixelColor(x, y);
      strongest = qMax(strongest, qAbs(c.red() - c.blue()));
    }
  }
  EXPECT_GE(strongest, 100);
}

}  // namespace
}  // namespace kesta::ui
