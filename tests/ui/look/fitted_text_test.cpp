#include "ui/look/fitted_text.h"

#include <gtest/gtest.h>

#include <QStringList>
#include <algorithm>

#include "ui/look/theme.h"

namespace kesta::ui {
namespace {

using namespace Qt::StringLiterals;

const QString kLead = QStringLiteral("A Collective Of Far Too Many Featuring");
const QString kTail = QStringLiteral(" · 123.5 BPM · 10A");

struct FitCase {
  const char* name;
  qreal spare;  // the width given beyond the tail and an ellipsis, in parts of the lead's width
  bool whole;
  bool keepsTail;
};

TEST(FittedText, CutsTheLeadBeforeTheTail) {
  const QFontMetricsF metrics(Theme::font(9));
  const qreal lead = metrics.horizontalAdvance(kLead);
  const qreal least = metrics.horizontalAdvance(kTail) + metrics.horizontalAdvance(QStringLiteral("…"));
  const FitCase cases[] = {
      {"room for all", 2, true, true},
      {"room for half the lead", 0.5, false, true},
      {"room for the tail and an ellipsis only", 0.01, false, true},
      {"less room than the tail needs", -0.05, false, false},
  };
  for (const FitCase& c : cases) {
    const qreal width = least + c.spare * lead;
    const QString shown = fittedText(metrics, kLead, kTail, width);
    EXPECT_LE(metrics.horizontalAdvance(shown), width) << c.name;
    EXPECT_EQ(shown == kLead + kTail, c.whole) << c.name;
    EXPECT_EQ(shown.endsWith(kTail), c.keepsTail) << c.name << ": " << qPrintable(shown);
    EXPECT_EQ(shown.contains(QStringLiteral("…")), !c.whole) << c.name;
    if (!c.keepsTail) {
      EXPECT_TRUE(shown.startsWith(QStringLiteral("… · 123"))) << c.name << ": " << qPrintable(shown);
    }
  }
}

// An artist beside a long reason, at every width of a row: the artist keeps
// its first word or a third of the line, the reason is cut at its end, and
// the line never begins with the ellipsis.
TEST(FittedText, KeptLeadKeepsItsShareBesideALongTail) {
  const QFontMetricsF metrics(Theme::font(10));
  const QString artist = QStringLiteral("Kasimir Grey");
  const QString reason = QStringLiteral(" · 8A→11A, down a minor third · same tempo · energy 5→7");
  const QString longArtist = QStringLiteral("A Collective Of Far Too Many Featured Artists");
  const struct {
    QString lead;
    QString kept;  // what the lead keeps at the least
  } leads[] = {{artist, QStringLiteral("Kasimir")}, {longArtist, QStringLiteral("A Co")}};
  for (const auto& lead : leads) {
    for (qreal width = 120; width <= 300; width += 15) {
      const QString shown = fittedKeepingLead(metrics, lead.lead, reason, width);
      const QString where = lead.lead + " at " + QString::number(width) + ": " + shown;
      EXPECT_LE(metrics.horizontalAdvance(shown), width) << qPrintable(where);
      EXPECT_TRUE(shown.startsWith(lead.kept)) << qPrintable(where);
      EXPECT_TRUE(shown.contains(QStringLiteral(" · 8A"))) << qPrintable(where);
      EXPECT_TRUE(shown.endsWith(QStringLiteral("…"))) << qPrintable(where);
    }
  }
}

// Qt's own cut may stop after a blank or a separator ("Velvet …"); the
// ellipsis follows the last kept word at every width, in every kind of cut.
TEST(FittedText, EllipsisFollowsTheLastKeptLetter) {
  const QFontMetricsF metrics(Theme::font(11));
  const QString plain = QStringLiteral("Velvet Thunder Extended Mix");
  // The same set apart by direction marks, as names may be.
  const QString isolated = QChar(0x2068) + plain + QChar(0x2069);
  const QString reasons = QStringLiteral("+2.0% tempo · same key · energy 5→8");
  // Cut in a joining script, Qt puts a joiner between the blank and the ellipsis.
  const QString arabic = QStringLiteral("فيروز الصغيرة طريق الحب");
  const QString spaced = QStringLiteral(" …");
  const QString joined = QStringLiteral(" \u200D…");
  const QString separated = QStringLiteral("·…");
  for (const QString& text : {plain, isolated, reasons, arabic}) {
    int spacedByQt = 0;
    for (qreal width = 20; width < metrics.horizontalAdvance(text); width += 1) {
      const QString byQt = metrics.elidedText(text, Qt::ElideRight, width);
      spacedByQt += byQt.contains(spaced) || byQt.contains(joined);
      for (const QString& shown : {elided(metrics, text, width), fittedText(metrics, text, {}, width),
                                   firstFitting(metrics, {text}, width)}) {
        EXPECT_FALSE(shown.contains(spaced) || shown.contains(joined)) << width << ": " << qPrintable(shown);
        EXPECT_FALSE(shown.contains(separated)) << width << ": " << qPrintable(shown);
        EXPECT_TRUE(shown.contains(QStringLiteral("…"))) << width;
        EXPECT_LE(metrics.horizontalAdvance(shown), width) << width;
      }
    }
    EXPECT_GT(spacedByQt, 0) << "no width where Qt itself leaves the blank";
    EXPECT_EQ(elided(metrics, text, metrics.horizontalAdvance(text)), text);
  }
}

// A name set apart by direction marks is closed again after a cut.
TEST(FittedText, CutNamesCloseTheirDirectionIsolates) {
  const QFontMetricsF metrics(Theme::font(10));
  const QChar first(0x2068);
  const QChar pop(0x2069);
  const QString artist = first + QStringLiteral("A Collective Of Far Too Many Featured Artists") + pop;
  const QString reason = QStringLiteral(" · 8A→11A, down a minor third · same tempo");
  for (const qreal width : {60.0, 150.0, 260.0}) {
    for (const QString& shown : {elided(metrics, artist, width), fittedText(metrics, artist, reason, width),
                                 fittedKeepingLead(metrics, artist, reason, width)}) {
      EXPECT_EQ(shown.count(first), shown.count(pop)) << width << ": " << qPrintable(shown);
      EXPECT_LE(shown.indexOf(first), shown.indexOf(pop)) << width;
      EXPECT_LE(metrics.horizontalAdvance(shown), width + 0.5) << width;
    }
  }
}

// Where Qt alone would cut inside a figure or after an opening bracket or a
// sign, the cut drops the whole figure or the bracket.
TEST(FittedText, CutsDropAWholeFigureOrBracket) {
  const QFontMetricsF metrics(Theme::font(Theme::kLaneDetailFontSize));
  const struct {
    QString text;
    QString room;  // the width given: this much and an ellipsis
    QString shown;
  } cases[] = {
      {u"9A→3A, a tritone away · +6.2% tempo"_s, u"9A→3A, a tritone away · +6."_s,
       u"9A→3A, a tritone away…"_s},
      {u"9A→3A, a tritone away · +6.2% tempo"_s, u"9A→3A, a tritone away · +"_s, u"9A→3A, a tritone away…"_s},
      {u"same key · -0.8% tempo"_s, u"same key · -0.8"_s, u"same key…"_s},
      {u"124 BPM · 8A→11A, down a minor third"_s, u"124 BPM · 8A→1"_s, u"124 BPM…"_s},
      {u"adjacent key · energy 5→7 · Deep House"_s, u"adjacent key · energy 5→"_s,
       u"adjacent key · energy…"_s},
      {u"energy 6→6 · Hip-Hop Classics"_s, u"energy 6→6 · Hip-"_s, u"energy 6→6 · Hip…"_s},
      {u"Polar Drift (Original Mix)"_s, u"Polar Drift ("_s, u"Polar Drift…"_s},
      {u"D1 · Adagio for Strings (Extended Mix)"_s, u"D1 · Adagio for Strings ("_s,
       u"D1 · Adagio for Strings…"_s},
      {u"Track 12 (2019 Remaster)"_s, u"Track 12 (20"_s, u"Track 12…"_s},
      {u"שיר 2 (רמיקס)"_s, u"שיר 2 ("_s, u"שיר 2…"_s},
      {u"طريق الحب ١٢٤ دقة"_s, u"طريق الحب ١٢"_s, u"طريق الحب…"_s},
      {u"เพลงรัก 2024 รีมิกซ์"_s, u"เพลงรัก 20"_s, u"เพลงรัก…"_s},
  };
  for (const auto& c : cases) {
    const qreal width = metrics.horizontalAdvance(c.room + u"…"_s) + 1;
    EXPECT_EQ(elided(metrics, c.text, width), c.shown) << qPrintable(c.room);
    EXPECT_EQ(firstFitting(metrics, {c.text}, width), c.shown) << qPrintable(c.room);
  }
}

// At every width, in every kind of cut, a figure is shown whole or not at
// all, and no ellipsis follows an opening bracket.
TEST(FittedText, NoWidthSplitsAFigure) {
  const QFontMetricsF metrics(Theme::font(Theme::kLaneDetailFontSize));
  const QString isolated = u"\u2068Polar Drift (Original Mix)\u2069"_s;
  const struct {
    QString lead;
    QString tail;
    QStringList figures;
  } cases[] = {
      {isolated,
       u" · 9A→3A, a tritone away · +6.2% tempo · energy 5→7 · Deep House"_s,
       {u"9A→3A"_s, u"+6.2%"_s, u"5→7"_s}},
      {u"Kasimir Grey"_s, u" · -0.8% tempo · same key · energy 6→8"_s, {u"-0.8%"_s, u"6→8"_s}},
      {u"Adagio for Strings (Extended Mix)"_s, u" · 123.5 BPM · 10A"_s, {u"123.5"_s, u"10A"_s}},
      {u"فيروز الصغيرة (Club Edit)"_s,
       u" · +1.4% tempo · 8A→11A, down a minor third"_s,
       {u"+1.4%"_s, u"8A→11A"_s}},
  };
  for (const auto& c : cases) {
    const qreal whole = metrics.horizontalAdvance(c.lead + c.tail);
    for (qreal width = 30; width < whole; width += 2) {
      for (const QString& shown :
           {elided(metrics, c.lead + c.tail, width), fittedText(metrics, c.lead, c.tail, width),
            fittedKeepingLead(metrics, c.lead, c.tail, width),
            firstFitting(metrics, {c.lead + c.tail}, width)}) {
        const QString where = QString::number(width) + u": "_s + shown;
        EXPECT_FALSE(shown.contains(u"(…"_s)) << qPrintable(where);
        for (const QString& figure : c.figures) {
          for (qsizetype part = 1; part < figure.size(); ++part) {
            EXPECT_FALSE(shown.contains(figure.left(part) + u"…"_s)) << qPrintable(where);
          }
        }
      }
    }
  }
}

// A word that holds a figure keeps its letters before the figure: at every
// width where Qt's own cut shows a letter and fits, so does ours, and still
// no cut ends inside the figure.
TEST(FittedText, LettersBeforeAFigureStayInTheirWord) {
  const QFontMetricsF metrics(Theme::font(Theme::kLaneDetailFontSize));
  const struct {
    QString text;
    QString figure;
  } cases[] = {
      {u"Mix2020Edition Remastered"_s, u"2020Edition"_s},
      {u"서울2024 밤"_s, u"2024"_s},
      {u"東京2024ナイト"_s, u"2024"_s},
      {u"เพลง2024รีมิกซ์"_s, u"2024"_s},
  };
  const auto hasLetter = [](const QString& text) {
    return std::ranges::any_of(text, [](QChar ch) { return ch.isLetter(); });
  };
  for (const auto& c : cases) {
    for (qreal width = 1; width < metrics.horizontalAdvance(c.text); width += 1) {
      const QString shown = elided(metrics, c.text, width);
      const QString where = QString::number(width) + u": "_s + shown;
      const QString byQt = metrics.elidedText(c.text, Qt::ElideRight, width);
      if (metrics.horizontalAdvance(byQt) <= width) {
        EXPECT_EQ(hasLetter(shown), hasLetter(byQt)) << qPrintable(where);
      }
      for (qsizetype part = 1; part < c.figure.size(); ++part) {
        EXPECT_FALSE(shown.contains(c.figure.left(part) + u"…"_s)) << qPrintable(where);
      }
    }
  }
}

// Lines that mix Latin with Arabic, Hebrew, Thai, Korean and Japanese, at
// three sizes and every width from 40 px: no cut runs wider than its width,
// though Qt's own may (an Arabic letter cut off takes its joined form), and
// a cut taken further for it still splits no figure, ends on no blank,
// separator, opening bracket or sign, and keeps a cut letter joined.
TEST(FittedText, NoCutRunsWiderThanItsWidth) {
  const struct {
    QString lead;
    QString tail;
    QStringList figures;
  } lines[] = {
      {u"Cairo Nights ليالي القاهرة"_s, u" · 124 BPM · 8A"_s, {u"124"_s}},
      {u"فيروز الصغيرة طريق الحب (Club Edit)"_s,
       u" · +1.4% tempo · 8A→11A, down a minor third"_s,
       {u"+1.4%"_s, u"8A→11A"_s}},
      {u"Kasimir Grey"_s, u" · 부산1987 여름, صوت البحر"_s, {u"1987"_s}},
      {u"אהבה בתל אביב (Extended Mix)"_s, u" · שיר 2 (רמיקס) · energy 5→7"_s, {u"5→7"_s}},
      {u"เพลงรักริมทะเล 2024"_s, u" · 부산1987 여름, صوت البحر"_s, {u"2024"_s, u"1987"_s}},
      {u"東京ナイト 夜の街 (Remix)"_s, u" · 124 BPM · 8A"_s, {u"124"_s}},
      {u"Wifi"_s, u"Vortex · 8A"_s, {u"8A"_s}},  // "iV" is wider joined than apart
  };
  const QString badEnds = u" ·(+→"_s;
  for (const qreal size : {9, 11, 13}) {
    const QFontMetricsF metrics(Theme::font(size));
    for (const auto& line : lines) {
      const QString whole = line.lead + line.tail;
      for (qreal width = 40; width < metrics.horizontalAdvance(whole); width += 1) {
        for (QString shown : {elided(metrics, whole, width), fittedText(metrics, line.lead, line.tail, width),
                              fittedKeepingLead(metrics, line.lead, line.tail, width)}) {
          const QString where = QString::number(size) + u" pt, "_s + QString::number(width) + u": "_s + shown;
          EXPECT_LE(metrics.horizontalAdvance(shown), width) << qPrintable(where);
          // Cut inside an Arabic word, the last letter kept stays joined, as in Qt's own cut.
          const QString kept = shown.left(shown.lastIndexOf(u"…"_s));
          if (whole.startsWith(kept) && kept.size() < whole.size()) {
            EXPECT_NE(whole.at(kept.size()).joiningType(), QChar::Joining_Dual) << qPrintable(where);
          }
          shown.remove(QChar(0x200D));
          for (const QString& figure : line.figures) {
            for (qsizetype part = 1; part < figure.size(); ++part) {
              EXPECT_FALSE(shown.contains(figure.left(part) + u"…"_s)) << qPrintable(where);
            }
          }
          for (const QChar end : badEnds) EXPECT_FALSE(shown.contains(end + u"…"_s)) << qPrintable(where);
        }
      }
    }
  }
}

TEST(FittedText, TakesTheFirstFormThatFitsElseCutsTheLast) {
  const QFontMetricsF metrics(Theme::font(11));
  const QString whole = QStringLiteral("Deck 1: Adagio for Strings");
  const QString brief = QStringLiteral("D1 · Adagio for Strings");
  const QStringList forms{whole, brief};
  EXPECT_EQ(firstFitting(metrics, forms, metrics.horizontalAdvance(whole)), whole);
  EXPECT_EQ(firstFitting(metrics, forms, metrics.horizontalAdvance(brief)), brief);
  const QString cut = firstFitting(metrics, forms, metrics.horizontalAdvance(brief) / 2);
  EXPECT_TRUE(cut.startsWith(QStringLiteral("D1 · ")) && cut.endsWith(QStringLiteral("…")))
      << qPrintable(cut);
  EXPECT_TRUE(firstFitting(metrics, {}, 100).isEmpty());
}

}  // namespace
}  // namespace kesta::ui
