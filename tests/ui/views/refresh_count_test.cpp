#include <gtest/gtest.h>

#include <QApplication>
#include <map>

#include "ui/shell/view_refresh.h"
#include "ui/views/card_lane_row.h"
#include "ui/views/corner_card.h"
#include "ui/views/full_view.h"
#include "ui/views/lane_row.h"
#include "ui/views/root_view.h"
#include "ui/views/text_line.h"
#include "ui/views/view_scenes.h"

namespace kesta::ui {
namespace {

using test::ViewStage;

// Counts the refreshes of every view under `window` whose type is `View`.
template <class View>
class RefreshCounter {
 public:
  explicit RefreshCounter(QWidget& window) {
    for (View* view : window.findChildren<View*>()) {
      auto* refresh = view->template findChild<ViewRefresh*>(QString(), Qt::FindDirectChildrenOnly);
      QObject::connect(refresh, &ViewRefresh::refreshed, [this, view] { ++counts_[view]; });
      views_.push_back(view);
    }
  }
  int total() const {
    int sum = 0;
    for (const auto& [view, count] : counts_) sum += count;
    return sum;
  }
  // The most refreshes any one view had.
  int most() const {
    int top = 0;
    for (const auto& [view, count] : counts_) top = std::max(top, count);
    return top;
  }
  std::size_t views() const { return views_.size(); }

 private:
  std::vector<View*> views_;
  std::map<View*, int> counts_;
};

// Both windows as the app has them: the full one on screen, the card's hidden.
class RefreshCountTest : public ::testing::Test {
 protected:
  RefreshCountTest() {
    stage.install();
    stage.connect();
    stage.deliver({DeckContent::track("1"), DeckContent::empty()}, 1, TrackerPhase::following,
                  ReaderHealth::reading(),
                  {TrackerEvent::load(1, DeckContent::track("1"), DeckContent::empty(), 10)});
    new RootView(
        stage.bridge(), [](WindowMode) {}, &fullWindow);
    card = new CornerCard(
        stage.bridge(), [] {}, &cardWindow);
    fullWindow.show();
    cardWindow.show();
    cardWindow.hide();
    QObject::connect(&stage.bridge(), &ModelBridge::changed, [this] { ++notifications; });
  }

  // The DJ loads Levels onto deck 2 and mixes over to it.
  void loadLevels() {
    stage.deliver({DeckContent::track("1"), DeckContent::track("2")}, 2, TrackerPhase::following,
                  ReaderHealth::reading(),
                  {TrackerEvent::load(2, DeckContent::track("2"), DeckContent::empty(), 20)});
  }

  ViewStage stage;
  QWidget fullWindow;
  QWidget cardWindow;
  CornerCard* card = nullptr;
  int notifications = 0;
};

TEST_F(RefreshCountTest, ALoadRefreshesOnlyTheWindowOnScreenOnceANotification) {
  RefreshCounter<LaneRow> fullRows(fullWindow);
  RefreshCounter<CardLaneRow> cardRows(cardWindow);
  RefreshCounter<FullView> full(fullWindow);
  RefreshCounter<CornerCard> cardView(cardWindow);
  ASSERT_EQ(fullRows.views(), Lane::kCount);
  ASSERT_EQ(cardRows.views(), Lane::kCount);

  loadLevels();
  ASSERT_GT(notifications, 0);
  EXPECT_EQ(cardRows.total(), 0);
  EXPECT_EQ(cardView.total(), 0);
  EXPECT_LE(fullRows.most(), notifications);
  EXPECT_LE(fullRows.total(), int(Lane::kCount) * notifications);
  EXPECT_LE(full.total(), notifications);
  EXPECT_EQ(card->titleLine()->text(), "Strobe");  // what it showed when hidden

  // Shown again, the card catches up at once, each part in one refresh.
  cardWindow.show();
  EXPECT_EQ(cardView.total(), 1);
  EXPECT_EQ(cardRows.most(), 1);
  EXPECT_EQ(card->titleLine()->text(), "Levels");
  RecordProperty("notifications", notifications);

  // A change of nothing a lane row shows refreshes no row.
  const int rowsBefore = fullRows.total() + cardRows.total();
  stage.model().setIncludeRawText(true);
  EXPECT_EQ(fullRows.total() + cardRows.total(), rowsBefore);
  RecordProperty("laneRowRefreshes", fullRows.total());
}

}  // namespace
}  // namespace kesta::ui
