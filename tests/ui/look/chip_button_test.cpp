#include "ui/look/chip_button.h"

#include <gtest/gtest.h>

#include <QTest>

#include "ui/look/theme.h"
#include "ui/pixel_probe.h"

namespace kesta::ui {
namespace {

using test::blend;
using test::near;
using test::ProbeHost;

struct ChipCase {
  const char* name;
  bool prominent;
  bool pressed;
  bool enabled;
  QColor fill;
  qreal opacity;
};

void PrintTo(const ChipCase& c, std::ostream* out) { *out << c.name; }

class ChipFill : public ::testing::TestWithParam<ChipCase> {};

// The fill is probed in the left padding, clear of the text and the corners.
TEST_P(ChipFill, BlendsOverTheBackgroundAsItsStateSays) {
  const ChipCase& c = GetParam();
  ProbeHost host(Theme::background());
  auto* chip = new ChipButton(QStringLiteral("Connect rekordbox"), c.prominent, &host);
  chip->setEnabled(c.enabled);
  chip->move(10, 10);
  chip->resize(chip->sizeHint());
  host.show();
  if (c.pressed) QTest::mousePress(chip, Qt::LeftButton, {}, QPoint(chip->width() / 2, chip->height() / 2));

  const QImage image = host.render();
  const QColor probed = image.pixelColor(10 + 3, 10 + chip->height() / 2);
  const QColor expected = blend(c.fill, c.opacity, Theme::background());
  EXPECT_TRUE(near(probed, expected))
      << ::testing::PrintToString(probed) << " wanted " << ::testing::PrintToString(expected);
  if (c.pressed) QTest::mouseRelease(chip, Qt::LeftButton);
}

INSTANTIATE_TEST_SUITE_P(
    States, ChipFill,
    ::testing::Values(ChipCase{"prominent", true, false, true, Theme::lime(), 1.0},
                      ChipCase{"plain", false, false, true, Theme::raised(), 1.0},
                      ChipCase{"pressedProminent", true, true, true, Theme::lime(), 0.7},
                      ChipCase{"pressedPlain", false, true, true, Theme::raised(), 0.6},
                      ChipCase{"disabledProminent", true, false, false, Theme::lime(), 0.4},
                      ChipCase{"disabledPlain", false, false, false, Theme::raised(), 0.4}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ChipButton, DisabledProminentChipFadesItsTextAsOnePicture) {
  ProbeHost host(Theme::background());
  auto* chip = new ChipButton(QStringLiteral("WWWW"), true, &host);
  chip->setEnabled(false);
  chip->move(10, 10);
  chip->resize(chip->sizeHint());
  const QImage image = host.render();

  // The darkest pixel is black text at 40 % over the background, not over the faded lime.
  int darkest = 255;
  for (int x = 10; x < 10 + chip->width(); ++x) {
    for (int y = 10; y < 10 + chip->height(); ++y) darkest = qMin(darkest, image.pixelColor(x, y).green());
  }
  EXPECT_NEAR(darkest, blend(Qt::black, 0.4, Theme::background()).green(), 3);
}

// The windows must never take keys meant for rekordbox: no focus, and no
// mnemonic from a title such as "Simon & Garfunkel".
TEST(ChipButton, ClicksButTakesNeitherFocusNorAShortcut) {
  ProbeHost host(Theme::background());
  auto* chip = new ChipButton(QStringLiteral("Simon & Garfunkel · 120"), true, &host);
  chip->resize(chip->sizeHint());
  host.show();
  int clicks = 0;
  QObject::connect(chip, &ChipButton::clicked, [&clicks] { ++clicks; });
  QTest::mouseClick(chip, Qt::LeftButton);
  EXPECT_EQ(clicks, 1);
  EXPECT_FALSE(chip->hasFocus());
  EXPECT_TRUE(chip->shortcut().isEmpty());
  chip->setText(QStringLiteral("&Undo"));
  EXPECT_TRUE(chip->shortcut().isEmpty());
}

}  // namespace
}  // namespace kesta::ui
