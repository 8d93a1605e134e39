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

}  // namespace
}  // namespace kesta::ui
