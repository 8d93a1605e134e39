#include "ui/shell/window_drag.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QWidget>
#include <string>
#include <vector>

namespace kesta::ui {
namespace {

// One pointer event on the window's background: where the pointer is,
// relative to the press point, and which buttons are held after it.
struct Step {
  QEvent::Type type;
  QPoint offset;
  Qt::MouseButton button = Qt::LeftButton;
  Qt::MouseButtons held = Qt::LeftButton;
};

struct Case {
  std::string name;
  std::vector<Step> steps;
  QPoint expectedMove;
};

using E = QEvent;
const QPoint origin(0, 0);

class WindowDragTest : public ::testing::TestWithParam<Case> {};

TEST_P(WindowDragTest, MovesTheWindowOnlyWhileTheHeldPointerHasMovedFarEnough) {
  QWidget window;
  window.setGeometry(400, 300, 200, 100);
  // Moves with no button held reach the window too.
  window.setMouseTracking(true);
  new WindowDrag(window);
  window.show();
  const QPoint start = window.frameGeometry().topLeft();
  const QPoint press = start + QPoint(50, 50);
  for (const Step& step : GetParam().steps) {
    const QPoint global = press + step.offset;
    QMouseEvent event(step.type, QPointF(window.mapFromGlobal(global)), QPointF(global), step.button,
                      step.held, Qt::NoModifier);
    QApplication::sendEvent(&window, &event);
  }
  EXPECT_EQ(window.frameGeometry().topLeft() - start, GetParam().expectedMove);
}

INSTANTIATE_TEST_SUITE_P(Gestures, WindowDragTest,
                         ::testing::Values(
                             // A fast click, then the pointer wanders off with no button: nothing follows it.
                             Case{"click",
                                  {{E::MouseButtonPress, origin},
                                   {E::MouseButtonRelease, origin, Qt::LeftButton, Qt::NoButton},
                                   {E::MouseMove, {60, 20}, Qt::NoButton, Qt::NoButton}},
                                  {0, 0}},
                             Case{"jitterBelowThreshold",
                                  {{E::MouseButtonPress, origin},
                                   {E::MouseMove, {2, 1}, Qt::NoButton},
                                   {E::MouseButtonRelease, {2, 1}, Qt::LeftButton, Qt::NoButton}},
                                  {0, 0}},
                             // Once started, the window keeps the pointer's whole way from the press.
                             Case{"drag",
                                  {{E::MouseButtonPress, origin},
                                   {E::MouseMove, {2, 1}, Qt::NoButton},
                                   {E::MouseMove, {30, -12}, Qt::NoButton},
                                   {E::MouseButtonRelease, {30, -12}, Qt::LeftButton, Qt::NoButton}},
                                  {30, -12}},
                             Case{"justAtThreshold",
                                  {{E::MouseButtonPress, origin}, {E::MouseMove, {3, 1}, Qt::NoButton}},
                                  {3, 1}},
                             Case{"releaseEndsTheDrag",
                                  {{E::MouseButtonPress, origin},
                                   {E::MouseMove, {10, 0}, Qt::NoButton},
                                   {E::MouseButtonRelease, {10, 0}, Qt::LeftButton, Qt::NoButton},
                                   {E::MouseMove, {80, 0}, Qt::NoButton, Qt::NoButton}},
                                  {10, 0}},
                             Case{"rightButton",
                                  {{E::MouseButtonPress, origin, Qt::RightButton, Qt::RightButton},
                                   {E::MouseMove, {40, 0}, Qt::NoButton, Qt::RightButton}},
                                  {0, 0}}),
                         [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace kesta::ui
