#include "ui/look/kesta_mark.h"

#include <gtest/gtest.h>

#include "ui/look/theme.h"
#include "ui/pixel_probe.h"

namespace kesta::ui {
namespace {

using testing::blend;
using testing::near;
using testing::ProbeHost;

TEST(KestaMark, RimWidthFollowsTheSizeWithAFloor) {
  const struct {
    qreal size;
    qreal stroke;
  } cases[] = {{16, 1.5}, {18, 1.5}, {20, 1.5}, {24, 1.8}, {40, 3.0}};
  for (const auto& c : cases) EXPECT_DOUBLE_EQ(KestaMark::strokeWidth(c.size), c.stroke) << c.size;
}

TEST(KestaMark, TileIsFaintLimeWithALimeRim) {
  ProbeHost host(Theme::background());
  auto* mark = new KestaMark(40, &host);
  mark->move(10, 10);
  const QImage image = host.render();
  EXPECT_EQ(mark->size(), QSize(40, 40));
  // Inside the tile, off the pulse line: the lime tint over the background.
  EXPECT_TRUE(near(image.pixelColor(10 + 20, 10 + 6), blend(Theme::lime(), 0.16, Theme::background())));
  // On the rim, halfway down the left edge.
  EXPECT_TRUE(near(image.pixelColor(10 + 1, 10 + 20), Theme::lime(), 8));
}

}  // namespace
}  // namespace kesta::ui
