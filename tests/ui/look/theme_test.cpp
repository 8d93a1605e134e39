#include "ui/look/theme.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QImage>
#include <QMenu>
#include <QPainter>
#include <QtMath>

namespace kesta::ui {
namespace {

// A missing typeface or cut would fall back silently, or be drawn as a
// smeared regular, and every picture would shift.
TEST(Theme, PinnedFontsResolveToTheirOwnCutsAtTheirSizeInPixels) {
  const struct {
    QFont font;
    const char* family;
    const char* style;
    qreal pixels;
  } cases[] = {
      {QApplication::font(), "Inter", "Regular", Theme::kBodySize},
      {Theme::font(11, Theme::Weight::semibold), "Inter", "Semi Bold", 11},
      {Theme::font(9, Theme::Weight::bold), "Inter", "Bold", 9},
      {Theme::font(16, Theme::Weight::heavy), "Inter", "Extra Bold", 16},
      {Theme::monospacedFont(10), "DejaVu Sans Mono", "Book", 10},
  };
  for (const auto& c : cases) {
    const QFontInfo resolved(c.font);
    EXPECT_EQ(resolved.family().toStdString(), c.family);
    EXPECT_EQ(resolved.styleName().toStdString(), c.style) << c.family;
    EXPECT_EQ(resolved.pixelSize(), qRound(c.pixels)) << c.family << " " << c.style;
  }
}

// Han is drawn in the forms its readers expect, chosen by the desktop's
// language as fontconfig chooses it; Japanese forms for everyone else.
TEST(Theme, HanFollowsTheDesktopsLanguage) {
  const struct {
    const char* locale;
    const char* family;
  } cases[] = {
      {"zh_CN.UTF-8", "Noto Sans CJK SC"},
      {"zh_SG.UTF-8", "Noto Sans CJK SC"},
      {"zh", "Noto Sans CJK SC"},
      {"zh_TW.UTF-8", "Noto Sans CJK TC"},
      {"zh-tw", "Noto Sans CJK TC"},
      {"zh_Hant", "Noto Sans CJK TC"},
      {"zh_HK.UTF-8", "Noto Sans CJK HK"},
      {"zh_MO", "Noto Sans CJK HK"},
      {"ja_JP.UTF-8", "Noto Sans CJK JP"},
      {"ko_KR.UTF-8", "Noto Sans CJK KR"},
      {"ko", "Noto Sans CJK KR"},
      {"en_US.UTF-8", "Noto Sans CJK JP"},
      {"de_DE@euro", "Noto Sans CJK JP"},
      {"C.UTF-8", "Noto Sans CJK JP"},
      {"", "Noto Sans CJK JP"},
      {"zh_TW:en", "Noto Sans CJK TC"},
  };
  for (const auto& c : cases) {
    const char* family = Theme::hanFamily(QString::fromLatin1(c.locale));
    EXPECT_STREQ(family, c.family) << c.locale;
    // Every face named is one the machine has.
    EXPECT_EQ(QFontInfo(QFont(QString::fromLatin1(family))).family().toStdString(), c.family) << c.locale;
  }
}

// The fallbacks keep their order, the CJK face of the desktop's language first.
TEST(Theme, FallbacksKeepTheirOrder) {
  const QStringList expected{QString::fromLatin1(Theme::hanFamily(Theme::desktopLanguage())),
                             QStringLiteral("Noto Sans Arabic"),
                             QStringLiteral("Noto Sans Hebrew"),
                             QStringLiteral("Noto Sans Thai"),
                             QStringLiteral("Noto Sans Devanagari"),
                             QStringLiteral("Noto Color Emoji"),
                             QStringLiteral("DejaVu Sans")};
  EXPECT_EQ(Theme::fallbackFamilies(), expected);
  EXPECT_EQ(Theme::font(Theme::kBodySize).families(), QStringList{QStringLiteral("Inter")} + expected);
}

// The first row of `text` that has ink, drawn in `font` in a line box of the
// font's height, as the views draw one line.
int topInk(const QFont& font, const QString& text) {
  const QFontMetricsF metrics(font);
  QImage image(qCeil(metrics.horizontalAdvance(text)) + 4, qCeil(metrics.height()), QImage::Format_RGB32);
  image.fill(Qt::black);
  QPainter painter(&image);
  painter.setFont(font);
  painter.setPen(Qt::white);
  painter.drawText(QPointF(2, metrics.ascent()), text);
  painter.end();
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if (qGray(image.pixel(x, y)) > 60) return y;
    }
  }
  return image.height();
}

// "RÜFÜS" must not read "RUFUS": at the small sizes of captions and meta
// lines the marks over capitals stay drawn, above the letter and in the line.
TEST(Theme, AccentsOverCapitalsShowAtSmallSizes) {
  for (const qreal size : {Theme::kCaptionSize, Theme::kDeckMetaFontSize, Theme::kCardSmallFontSize}) {
    for (const auto weight : {Theme::Weight::regular, Theme::Weight::bold}) {
      const QFont font = Theme::font(size, weight);
      EXPECT_LT(topInk(font, QStringLiteral("\u00DC")), topInk(font, QStringLiteral("U"))) << size;
      EXPECT_LT(topInk(font, QStringLiteral("\u00C9")), topInk(font, QStringLiteral("E"))) << size;
    }
  }
}

// The divider between a menu's groups (the pool menu's playlists, the actions
// menu's switch) must be seen against the menu, not a shade away from it.
TEST(Theme, MenuDividerStandsOutFromTheMenu) {
  QMenu menu;
  menu.addAction(QStringLiteral("Whole collection"));
  menu.addSeparator();
  menu.addAction(QStringLiteral("Warm-up"));
  menu.adjustSize();
  menu.show();
  const QImage image = menu.grab().toImage();
  // Right of the entries' texts, where only the divider is drawn.
  const int x = image.width() - 10;
  const int ground = qGray(image.pixel(x, image.height() / 4));
  int strongest = 0;
  for (int y = 0; y < image.height(); ++y)
    strongest = qMax(strongest, qAbs(qGray(image.pixel(x, y)) - ground));
  EXPECT_GE(strongest, 20);
}

}  // namespace
}  // namespace kesta::ui
