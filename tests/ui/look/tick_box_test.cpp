#include <gtest/gtest.h>

#include <QCheckBox>
#include <QStyle>
#include <QStyleOptionButton>

#include "ui/look/theme.h"
#include "ui/pixel_probe.h"

namespace kesta::ui {
namespace {

using test::near;
using test::ProbeHost;

// Lime pixels inside `area`.
int limePixels(const QImage& image, const QRect& area) {
  int count = 0;
  for (int y = area.top(); y <= area.bottom(); ++y) {
    for (int x = area.left(); x <= area.right(); ++x)
      count += near(image.pixelColor(x, y), Theme::lime(), 40);
  }
  return count;
}

// A tick box stands out on the dark ground: its edge in the theme's line
// colour, a lime tick only when ticked, faded when disabled.
TEST(TickBox, DrawsAnEdgeInTheLineColourAndALimeTick) {
  const struct {
    const char* name;
    bool ticked;
    bool enabled;
    bool tick;
  } cases[] = {
      {"unticked", false, true, false},
      {"ticked", true, true, true},
      {"ticked, disabled", true, false, false},
  };
  for (const auto& c : cases) {
    ProbeHost host(Theme::background());
    auto* box = new QCheckBox(QStringLiteral("Include recognised screen text"), &host);
    box->setChecked(c.ticked);
    box->setEnabled(c.enabled);
    box->move(10, 10);
    box->resize(box->sizeHint());
    const QImage image = host.render();
    QStyleOptionButton option;
    option.initFrom(box);
    const QRect indicator =
        box->style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, box).translated(10, 10);
    const QColor edge = image.pixelColor(indicator.left(), indicator.center().y());
    if (c.enabled) {
      EXPECT_TRUE(near(edge, Theme::line(), 3)) << c.name << ": " << ::testing::PrintToString(edge);
    }
    EXPECT_EQ(limePixels(image, indicator.adjusted(2, 2, -2, -2)) > 0, c.tick) << c.name;
  }
}

}  // namespace
}  // namespace kesta::ui
