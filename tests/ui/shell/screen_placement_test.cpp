// The placement on Qt's screens: two offscreen screens side by side, 1920 ×
// 1080 and, to its right, 1280 × 1080 (either may be the primary one).

#include "ui/shell/screen_placement.h"

#include <gtest/gtest.h>

#include <QCursor>
#include <QGuiApplication>

namespace kesta::ui {
namespace {

TEST(ScreenPlacementTest, SeesBothScreensWithYGrowingUpFromThePrimarysBottom) {
  ASSERT_EQ(QGuiApplication::screens().size(), 2) << "the offscreen configuration was not read";
  QCursor::setPos(100, 100);
  const WindowPlacement::Desktop desktop = ScreenPlacement::desktop();
  EXPECT_EQ(ScreenPlacement::primaryBottom(), 1080);
  ASSERT_EQ(desktop.screens.size(), 2u);
  const bool leftFirst = desktop.screens[0].frame.x == 0;
  EXPECT_EQ(desktop.screens[leftFirst ? 0 : 1].frame, (Rect{0, 0, 1920, 1080}));
  EXPECT_EQ(desktop.screens[leftFirst ? 1 : 0].frame, (Rect{1920, 0, 1280, 1080}));
  ASSERT_TRUE(desktop.main.has_value());
  EXPECT_EQ(desktop.mouse, (Point{100.5, 979.5}));
}

TEST(ScreenPlacementTest, PlacesTwelveInFromTheTopRightOfTheScreenUnderTheMouse) {
  QCursor::setPos(2500, 500);
  EXPECT_EQ(ScreenPlacement::frame(QSize(340, 224), std::nullopt), QRect(3200 - 12 - 340, 12, 340, 224));
  QCursor::setPos(10, 1000);
  EXPECT_EQ(ScreenPlacement::frame(QSize(340, 224), std::nullopt), QRect(1920 - 12 - 340, 12, 340, 224));
}

TEST(ScreenPlacementTest, ReopensAWindowWhereItsCornerWasKept) {
  QCursor::setPos(10, 10);
  for (const QRect kept : {QRect(2000, 300, 340, 224), QRect(50, 700, 380, 380)}) {
    EXPECT_EQ(ScreenPlacement::frame(kept.size(), ScreenPlacement::savedCorner(kept)), kept);
  }
  // Partly below the screens' bottom edge: pulled up onto them.
  const QRect low(2000, 900, 340, 224);
  EXPECT_EQ(ScreenPlacement::frame(low.size(), ScreenPlacement::savedCorner(low)),
            QRect(2000, 856, 340, 224));
  // Off every screen: the top right of the screen under the mouse.
  EXPECT_EQ(ScreenPlacement::frame(QSize(340, 224), Point{5000, 5000}), QRect(1920 - 12 - 340, 12, 340, 224));
}

}  // namespace
}  // namespace kesta::ui

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" KESTA_TWO_SCREENS);
  testing::InitGoogleTest(&argc, argv);
  QGuiApplication application(argc, argv);
  return RUN_ALL_TESTS();
}
