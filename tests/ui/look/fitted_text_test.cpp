#include "ui/look/fitted_text.h"

#include <gtest/gtest.h>

#include <QStringList>

#include "ui/look/theme.h"

namespace kesta::ui {
namespace {

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
