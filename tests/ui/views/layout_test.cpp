#include <gtest/gtest.h>

#include <QApplication>
#include <QStackedWidget>
#include <QToolButton>
#include <map>
#include <memory>
#include <ostream>
#include <utility>

#include "ui/look/chip_button.h"
#include "ui/look/status_text.h"
#include "ui/views/card_lane_row.h"
#include "ui/views/corner_card.h"
#include "ui/views/deck_card.h"
#include "ui/views/deck_choice.h"
#include "ui/views/full_view.h"
#include "ui/views/lane_row.h"
#include "ui/views/line_slot.h"
#include "ui/views/load_button.h"
#include "ui/views/now_playing.h"
#include "ui/views/root_view.h"
#include "ui/views/text_line.h"
#include "ui/views/view_scenes.h"

namespace kesta::test {
// Names the scene in test output.
inline void PrintTo(const Scene& scene, std::ostream* out) { *out << scene.name; }
}  // namespace kesta::test

namespace kesta::ui {

namespace {

using test::Scene;
using test::ViewStage;

QString describe(const QWidget* widget) {
  const QString name = widget->metaObject()->className();
  return name + QLatin1Char(' ') + widget->objectName();
}

// Whether `upper` and `lower` overlap only where a text line's deepest marks
// reach below its slot: the last rows of the line, no more than its reach.
bool onlyMarksReachInto(const QWidget* upper, const QWidget* lower) {
  if (upper->y() > lower->y()) std::swap(upper, lower);
  const auto* line = dynamic_cast<const TextLine*>(upper);
  if (line == nullptr) return false;
  const QRect shared = upper->geometry() & lower->geometry();
  return shared.bottom() == upper->geometry().bottom() && shared.height() <= reachBelowSlot(*line);
}

// Every shown widget below `window` lies inside it, and no two shown siblings
// overlap (the pages of a stack take turns, so only the current one counts),
// but for the marks a text line reaches into the room below its slot.
void expectLaidOut(const QWidget& window, const std::string& scene) {
  const QRect bounds = window.rect();
  for (const QWidget* widget : window.findChildren<QWidget*>()) {
    if (!widget->isVisible() || widget->isWindow() || widget->size().isEmpty()) continue;
    const QRect area(widget->mapTo(&window, QPoint(0, 0)), widget->size());
    EXPECT_TRUE(bounds.contains(area)) << scene << ": " << qPrintable(describe(widget)) << " at " << area.x()
                                       << "," << area.y() << " " << area.width() << "×" << area.height();
    const QList<QWidget*> siblings = widget->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    for (qsizetype i = 0; i < siblings.size(); ++i) {
      for (qsizetype j = i + 1; j < siblings.size(); ++j) {
        const QWidget* a = siblings[i];
        const QWidget* b = siblings[j];
        if (!a->isVisible() || !b->isVisible() || a->isWindow() || b->isWindow()) continue;
        if (a->size().isEmpty() || b->size().isEmpty()) continue;
        if (onlyMarksReachInto(a, b)) continue;
        EXPECT_FALSE(a->geometry().intersects(b->geometry()))
            << scene << ": " << qPrintable(describe(a)) << " overlaps " << qPrintable(describe(b)) << " in "
            << qPrintable(describe(widget));
      }
    }
  }
}

class WindowLayoutTest : public ::testing::TestWithParam<Scene> {};

TEST_P(WindowLayoutTest, FullWindowFitsWithoutOverlaps) {
  ViewStage stage(GetParam().screenGranted);
  GetParam().setUp(stage);
  RootView root(stage.bridge(), [](WindowMode) {});
  root.show();
  QApplication::processEvents();
  EXPECT_EQ(root.size(), QSize(380, 660));
  expectLaidOut(root, "full " + GetParam().name);
}

TEST_P(WindowLayoutTest, CornerCardFitsWithoutOverlaps) {
  ViewStage stage(GetParam().screenGranted);
  GetParam().setUp(stage);
  CornerCard card(stage.bridge(), [] {});
  card.show();
  QApplication::processEvents();
  EXPECT_EQ(card.size(), QSize(340, 224));
  expectLaidOut(card, "card " + GetParam().name);
}

// The rows a DJ's eye finds by place, by name, with their tops in `window`;
// only the rows shown in this state.
using Rows = std::map<std::string, int>;

void addRow(Rows& rows, const std::string& name, const QWidget* widget, const QWidget& window) {
  if (widget && widget->isVisibleTo(&window)) rows[name] = widget->mapTo(&window, QPoint(0, 0)).y();
}

template <typename Row>
void addNumbered(Rows& rows, const std::string& name, const QWidget& window) {
  int n = 0;
  for (const Row* row : window.findChildren<Row*>()) addRow(rows, name + std::to_string(++n), row, window);
}

Rows fullRows(const RootView& root) {
  const FullView& full = *root.fullView();
  Rows rows;
  addRow(rows, "header", full.miniButton(), root);
  addRow(rows, "status", full.statusText(), root);
  addRow(rows, "summary", full.librarySummary(), root);
  addNumbered<DeckCard>(rows, "deck ", root);
  addNumbered<NowPlaying>(rows, "now playing ", root);
  addRow(rows, "pool", full.poolButton(), root);
  addNumbered<LaneRow>(rows, "lane ", root);
  addRow(rows, "footer", full.replayButton(), root);
  return rows;
}

Rows cardRows(const CornerCard& card) {
  Rows rows;
  addRow(rows, "title", card.titleLine(), card);
  addRow(rows, "subtitle", card.subtitleLine(), card);
  addRow(rows, "question", card.questionLine(), card);
  addRow(rows, "deck choice", card.deckChoice(), card);
  addNumbered<CardLaneRow>(rows, "lane ", card);
  addRow(rows, "status", card.statusLine(), card);
  return rows;
}

// Each row has one place in every scene in which it shows.
void expectSteady(const std::vector<std::pair<std::string, Rows>>& scenes) {
  std::map<std::string, std::pair<std::string, int>> first;
  for (const auto& [scene, rows] : scenes) {
    for (const auto& [row, top] : rows) {
      const auto [seen, isNew] = first.try_emplace(row, scene, top);
      EXPECT_EQ(top, seen->second.second) << row << " moves from " << seen->second.first << " to " << scene;
    }
  }
}

TEST(SteadyRows, FullWindowRowsKeepTheirPlacesInEveryScene) {
  std::vector<std::pair<std::string, Rows>> scenes;
  for (const Scene& scene : test::viewScenes()) {
    ViewStage stage(scene.screenGranted);
    scene.setUp(stage);
    RootView root(stage.bridge(), [](WindowMode) {});
    root.show();
    QApplication::processEvents();
    scenes.emplace_back(scene.name, fullRows(root));
  }
  ASSERT_GT(scenes.back().second.size(), 10u);
  expectSteady(scenes);
}

TEST(SteadyRows, CornerCardRowsKeepTheirPlacesInEveryScene) {
  std::vector<std::pair<std::string, Rows>> scenes;
  for (const Scene& scene : test::viewScenes()) {
    ViewStage stage(scene.screenGranted);
    scene.setUp(stage);
    CornerCard card(stage.bridge(), [] {});
    card.show();
    QApplication::processEvents();
    scenes.emplace_back(scene.name, cardRows(card));
  }
  expectSteady(scenes);
}

// A load under way turns its button to "…" at the button's own width, so the
// title beside it keeps its room.
TEST(SteadyRows, BusyLoadButtonKeepsItsWidth) {
  std::map<std::string, std::pair<QString, int>> shown;
  for (const std::string name : {"live", "live_loading"}) {
    ViewStage stage;
    test::scene(name).setUp(stage);
    RootView root(stage.bridge(), [](WindowMode) {});
    root.show();
    QApplication::processEvents();
    const LaneRow* groove = root.findChildren<LaneRow*>().value(0);
    ASSERT_TRUE(groove && groove->loadButton()->isVisible()) << name;
    shown[name] = {groove->loadButton()->currentLook().title, groove->titleLine()->width()};
  }
  EXPECT_EQ(shown["live_loading"].first, QStringLiteral("…"));
  EXPECT_NE(shown["live"].first, QStringLiteral("…"));
  EXPECT_EQ(shown["live_loading"].second, shown["live"].second);
}

INSTANTIATE_TEST_SUITE_P(Scenes, WindowLayoutTest, ::testing::ValuesIn(test::viewScenes()),
                         [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace kesta::ui
