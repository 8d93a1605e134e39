#include "ui/shell/window_placement.h"

#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace kesta::ui {
namespace {

using WindowPlacement::Desktop;
using WindowPlacement::Screen;

// A 1920 × 1080 laptop screen whose top 25 points are a menu bar and bottom
// 70 a dock, and a 2560 × 1440 screen to its right, standing 200 points higher.
const Screen laptop{{0, 0, 1920, 1080}, {0, 70, 1920, 985}};
const Screen external{{1920, 200, 2560, 1440}, {1920, 200, 2560, 1415}};

const Size card{340, 224};
const Size full{380, 688};  // a 28-point title bar above the content

struct Case {
  std::string name;
  Size size;
  Desktop desktop;
  std::optional<Point> saved;
  Rect expected;
};

// Named by its case, not by its bytes.
void PrintTo(const Case& c, std::ostream* out) { *out << c.name; }

class WindowPlacementTest : public ::testing::TestWithParam<Case> {};

TEST_P(WindowPlacementTest, PlacesTheWindowFrame) {
  const Case& c = GetParam();
  EXPECT_EQ(WindowPlacement::frame(c.size, c.desktop, c.saved), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, WindowPlacementTest,
                         ::testing::Values(Case{"noScreenUsesTheDefaultArea",
                                                card,
                                                Desktop{{}, std::nullopt, {5, 5}},
                                                std::nullopt,
                                                {1428 - 340, 888 - 224, 340, 224}},
                                           Case{"noScreenIgnoresASavedCorner",
                                                full,
                                                Desktop{{}, std::nullopt, {5, 5}},
                                                Point{100, 800},
                                                {1428 - 380, 888 - 688, 380, 688}},
                                           Case{"noSavedCornerGoesTwelveInFromTheTopRight",
                                                card,
                                                Desktop{{laptop, external}, laptop, {10, 10}},
                                                std::nullopt,
                                                {1920 - 12 - 340, 1055 - 12 - 224, 340, 224}},
                                           Case{"theScreenUnderTheMouseDecides",
                                                card,
                                                Desktop{{laptop, external}, laptop, {2000, 1500}},
                                                std::nullopt,
                                                {4480 - 12 - 340, 1615 - 12 - 224, 340, 224}},
                                           Case{"aMouseOffEveryScreenFallsBackToTheMainOne",
                                                full,
                                                Desktop{{laptop, external}, laptop, {-50, -50}},
                                                std::nullopt,
                                                {1920 - 12 - 380, 1055 - 12 - 688, 380, 688}},
                                           Case{"aSavedCornerInsideAScreenIsKept",
                                                card,
                                                Desktop{{laptop, external}, laptop, {10, 10}},
                                                Point{300, 900},
                                                {300, 900 - 224, 340, 224}},
                                           Case{"aSavedCornerIsHonouredOnAnotherScreenThanTheMouses",
                                                card,
                                                Desktop{{laptop, external}, laptop, {10, 10}},
                                                Point{3000, 1200},
                                                {3000, 1200 - 224, 340, 224}},
                                           Case{"aSavedCornerOnAScreenThatIsGoneIsIgnored",
                                                card,
                                                Desktop{{laptop}, laptop, {10, 10}},
                                                Point{3000, 1200},
                                                {1920 - 12 - 340, 1055 - 12 - 224, 340, 224}},
                                           Case{"aWindowOnlyTouchingAScreenEdgeTouchesNoScreen",
                                                card,
                                                Desktop{{laptop}, laptop, {10, 10}},
                                                Point{1920, 900},
                                                {1920 - 12 - 340, 1055 - 12 - 224, 340, 224}},
                                           Case{"aWindowPartlyOffTheRightAndTopIsPulledIn",
                                                card,
                                                Desktop{{laptop}, laptop, {10, 10}},
                                                Point{1800, 1200},
                                                {1920 - 340, 1055 - 224, 340, 224}},
                                           Case{"aWindowPartlyOffTheLeftAndBottomIsPulledIn",
                                                full,
                                                Desktop{{laptop}, laptop, {10, 10}},
                                                Point{-100, 500},
                                                {0, 70, 380, 688}},
                                           Case{"aWindowTallerThanTheScreenKeepsItsTopEdgeOnIt",
                                                Size{380, 1200},
                                                Desktop{{laptop}, laptop, {10, 10}},
                                                Point{100, 900},
                                                {100, 1055 - 1200, 380, 1200}}),
                         [](const auto& info) { return info.param.name; });

TEST(WindowPlacementConversionTest, FlipsBetweenQtsScreenCoordinatesAndThePlacements) {
  // The primary screen's bottom edge at y = 1080 in Qt's coordinates.
  const Rect qtTopLeftCorner{0, 0, 340, 224};
  EXPECT_EQ(WindowPlacement::fromScreen(qtTopLeftCorner, 1080), (Rect{0, 856, 340, 224}));
  EXPECT_EQ(WindowPlacement::toScreen(Rect{0, 856, 340, 224}, 1080), qtTopLeftCorner);
  // A screen above the primary one has negative Qt coordinates.
  EXPECT_EQ(WindowPlacement::fromScreen(Rect{100, -300, 50, 40}, 1080), (Rect{100, 1340, 50, 40}));
  EXPECT_EQ(WindowPlacement::fromScreen(Point{10, 0}, 1080), (Point{10, 1080}));
  EXPECT_EQ(WindowPlacement::topLeft(Rect{0, 856, 340, 224}), (Point{0, 1080}));
}

}  // namespace
}  // namespace kesta::ui
