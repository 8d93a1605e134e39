#include "support/control_places/control_places.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLayout>

#include "ui/look/chip_button.h"
#include "ui/shell/full_window.h"
#include "ui/shell/window_mode.h"
#include "ui/views/full_view.h"
#include "ui/views/lane_row.h"
#include "ui/views/load_button.h"
#include "ui/views/root_view.h"
#include "ui/views/view_stage.h"

namespace kesta::test {

namespace {

void readyToConnect(ViewStage& stage) {
  stage.install();
  stage.model().setOneClickLoad(true);
}

// Deck 1 playing and followed, deck 2 loaded and stopped: the first lane's
// button offers to load onto deck 2 at once.
void followingWithOtherDeckStopped(ViewStage& stage) {
  readyToConnect(stage);
  stage.connect();
  EngineUpdate update;
  update.decks = {DeckContent::track("1"), DeckContent::track("2")};
  update.focus = Focus{1, update.decks[0], 1, FocusKind::load, 0, false};
  update.phase = TrackerPhase::following;
  update.health = ReaderHealth::reading();
  update.motion = {DeckMotion::running(), DeckMotion::stopped(10)};
  stage.engines->last()->deliver(update);
  stage.finishWork();
}

}  // namespace

StagedFullWindow::StagedFullWindow(SoakControl control)
    : which_(control), stage_(std::make_unique<ViewStage>()) {
  if (control == SoakControl::connect) {
    readyToConnect(*stage_);
  } else {
    followingWithOtherDeckStopped(*stage_);
  }
  root_ = new ui::RootView(stage_->bridge(), [](ui::WindowMode) {});
  window_ = std::make_unique<ui::FullWindow>(root_, ui::contentSize(ui::WindowMode::full));
  window_->show();
  QApplication::processEvents();
}

StagedFullWindow::~StagedFullWindow() = default;

QWidget& StagedFullWindow::window() const { return *window_; }

QAbstractButton* StagedFullWindow::control() const {
  QAbstractButton* button = nullptr;
  if (which_ == SoakControl::connect) {
    button = root_->fullView()->connectButton();
  } else {
    // The first lane is the topmost.
    const ui::LaneRow* first = nullptr;
    for (const ui::LaneRow* lane : root_->findChildren<ui::LaneRow*>()) {
      if (!first || lane->mapTo(window_.get(), QPoint()).y() < first->mapTo(window_.get(), QPoint()).y()) {
        first = lane;
      }
    }
    if (first) button = first->loadButton();
  }
  return button && button->isVisibleTo(window_.get()) ? button : nullptr;
}

ControlPlace StagedFullWindow::place() const {
  QAbstractButton* button = control();
  if (!button) return {};
  const QRect rect(button->mapTo(window_.get(), QPoint(0, 0)), button->size());
  return {rect, window_->grab(rect).toImage()};
}

int StagedFullWindow::titleBand() const {
  // Under a title bar the content's top inset becomes its bottom one.
  const QMargins margins = root_->layout()->contentsMargins();
  return margins.top() - margins.bottom();
}

}  // namespace kesta::test
