#include "ui/look/kesta_mark.h"

#include <gtest/gtest.h>

namespace kesta::ui {
namespace {

TEST(KestaMark, RimWidthFollowsTheSizeWithAFloor) {
  const struct {
    qreal size;
    qreal stroke;
  } cases[] = {{16, 1.5}, {18, 1.5}, {20, 1.5}, {24, 1.8}, {40, 3.0}};
  for (const auto& c : cases) EXPECT_DOUBLE_EQ(KestaMark::strokeWidth(c.size), c.stroke) << c.size;
}

TEST(KestaMark, IconIsTheMarkOnTheDarkGroundAtEverySize) {
  const QIcon icon = KestaMark::icon();
  for (const int pixels : KestaMark::kIconSizes) {
    EXPECT_TRUE(icon.availableSizes().contains(QSize(pixels, pixels))) << pixels;
    const QImage image = KestaMark::iconImage(pixels);
    ASSERT_EQ(image.size(), QSize(pixels, pixels));
    // The rounded corner is clear; inside the rim, away from the pulse line,
    // the ground is the theme's dark background, wholly opaque.
    EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0) << pixels;
    const QColor ground = image.pixelColor(pixels / 2, pixels * 4 / 5);
    EXPECT_EQ(ground.alpha(), 255) << pixels;
    EXPECT_LT(ground.lightness(), 60) << pixels;
    // The pulse line's flat start, left of the middle, in lime.
    EXPECT_GT(image.pixelColor(pixels * 31 / 100, pixels * 526 / 1000).green(), 150) << pixels;
  }
}

}  // namespace
}  // namespace kesta::ui
