#include "ui/shell/window_controller.h"

#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QWidget>
#include <memory>

#include "model_fixture.h"
#include "ui/shell/card_panel.h"
#include "ui/shell/full_window.h"
#include "ui/shell/screen_placement.h"

namespace kesta::ui {
namespace {

class WindowControllerTest : public test::ModelFixture {
 protected:
  // Plain contents that keep the closures the controller hands them.
  std::unique_ptr<WindowController> makeController() {
    const WindowController::Contents contents{
        .full =
            [this](WindowController::SetMode setMode) {
              toMini = [setMode] { setMode(WindowMode::mini); };
              return new QWidget;
            },
        .card =
            [this](WindowController::Expand expand) {
              this->expand = expand;
              return new QWidget;
            },
    };
    return std::make_unique<WindowController>(modelPointer(), rekordbox, contents);
  }

  std::function<void()> toMini;
  std::function<void()> expand;
};

TEST_F(WindowControllerTest, OpensTheWindowOfTheStoredModeAndSwitchesThroughTheViewsClosures) {
  model().setCompact(true);
  auto controller = makeController();
  EXPECT_EQ(controller->mode(), WindowMode::mini);
  EXPECT_TRUE(controller->cardPanel().isVisible());
  EXPECT_FALSE(controller->fullWindow().isVisible());
  EXPECT_EQ(controller->cardPanel().size(), QSize(340, 224));

  expand();
  EXPECT_EQ(controller->mode(), WindowMode::full);
  EXPECT_FALSE(model().compact());
  EXPECT_FALSE(controller->cardPanel().isVisible());
  EXPECT_TRUE(controller->fullWindow().isVisible());
  EXPECT_EQ(controller->fullWindow().size(), QSize(380, 660));

  toMini();
  EXPECT_TRUE(model().compact());
  EXPECT_TRUE(controller->cardPanel().isVisible());

  controller.reset();
  expand();  // the controller is gone: nothing happens
  EXPECT_TRUE(model().compact());
}

TEST_F(WindowControllerTest, ShowingTheModeAlreadyShownNeitherMovesNorActivates) {
  auto controller = makeController();
  controller->fullWindow().move(40, 50);
  const int before = rekordbox->activations;
  controller->setMode(WindowMode::full);
  EXPECT_EQ(controller->fullWindow().pos(), QPoint(40, 50));
  EXPECT_EQ(rekordbox->activations, before);
}

TEST_F(WindowControllerTest, SwitchingToTheCardWithRekordboxNotRunningActivatesNothing) {
  rekordbox->running = false;
  auto controller = makeController();
  controller->setMode(WindowMode::mini);
  EXPECT_TRUE(controller->cardPanel().isVisible());
  EXPECT_EQ(rekordbox->activations, 0);
}

TEST_F(WindowControllerTest, KeepsTheCornerOfTheShownWindowUnderItsModesKey) {
  auto controller = makeController();
  model().setCompact(false);
  controller->cardPanel().move(200, 100);  // hidden: nothing kept
  EXPECT_EQ(model().savedTopLeft("card"), std::nullopt);

  controller->fullWindow().move(30, 20);
  EXPECT_EQ(model().savedTopLeft("full"),
            ScreenPlacement::savedCorner(controller->fullWindow().frameGeometry()));
  controller->setMode(WindowMode::mini);
  controller->cardPanel().move(60, 70);
  EXPECT_EQ(model().savedTopLeft("card"), ScreenPlacement::savedCorner(QRect(60, 70, 340, 224)));
}

TEST_F(WindowControllerTest, OpensAWindowAtItsSavedCorner) {
  model().saveTopLeft(ScreenPlacement::savedCorner(QRect(25, 35, 340, 224)), "card");
  model().setCompact(true);
  auto controller = makeController();
  EXPECT_EQ(controller->cardPanel().frameGeometry().topLeft(), QPoint(25, 35));
}

TEST_F(WindowControllerTest, ClosingTheFullWindowAsksToQuit) {
  auto controller = makeController();
  QSignalSpy quit(controller.get(), &WindowController::quitRequested);
  controller->fullWindow().close();
  EXPECT_EQ(quit.count(), 1);
}

}  // namespace
}  // namespace kesta::ui
