#include "ui/views/corner_card.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QMenu>

#include "ui/look/chip_button.h"
#include "ui/views/deck_choice.h"
#include "ui/views/text_line.h"
#include "ui/views/view_scenes.h"

namespace kesta::ui {
namespace {

using test::ViewStage;
using Control = CornerCard::Control;
using Middle = CornerCard::Middle;

struct ControlCase {
  const char* name;
  bool library;
  bool granted;
  bool asked;
  bool watching;
  bool problem;
  Control control;
  QString chip;  // empty for a dot
};

class CardControlTest : public ::testing::TestWithParam<ControlCase> {};

TEST_P(CardControlTest, ShowsTheControlThatMattersNow) {
  const ControlCase& c = GetParam();
  ViewStage stage(c.granted);
  if (c.library) stage.install();
  if (c.asked) stage.model().requestScreenPermission();
  if (c.watching) {
    stage.connect();
    stage.deliver({DeckContent::track("1"), DeckContent::empty()}, 1, TrackerPhase::following,
                  c.problem ? ReaderHealth::cannotSeeDecks(9) : ReaderHealth::reading());
  }
  CornerCard card(stage.bridge(), [] {});
  EXPECT_EQ(card.control(), c.control);
  EXPECT_EQ(card.controlChip()->isVisibleTo(&card), !c.chip.isEmpty());
  EXPECT_EQ(card.dot()->isVisibleTo(&card), c.chip.isEmpty());
  if (!c.chip.isEmpty()) {
    EXPECT_EQ(card.controlChip()->text(), c.chip);
  }
}

INSTANTIATE_TEST_SUITE_P(
    States, CardControlTest,
    ::testing::Values(
        ControlCase{"setUp", false, true, false, false, false, Control::setUp, "Set up"},
        ControlCase{"connect", true, true, false, false, false, Control::connect, "Connect"},
        ControlCase{"notYetAsked", true, false, false, false, false, Control::connect, "Connect"},
        ControlCase{"reopen", true, false, true, false, false, Control::reopen, "Reopen"},
        ControlCase{"reopenWithoutLibrary", false, false, true, false, false, Control::reopen, "Reopen"},
        ControlCase{"live", true, true, false, true, false, Control::liveDot, ""},
        ControlCase{"problem", true, true, false, true, true, Control::problemDot, ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CornerCardTest, SetUpAndFullExpand) {
  ViewStage stage;
  int expanded = 0;
  CornerCard card(stage.bridge(), [&] { ++expanded; });
  EXPECT_EQ(card.size(), QSize(340, 224));
  card.controlChip()->click();
  card.fullButton()->click();
  EXPECT_EQ(expanded, 2);
}

TEST(CornerCardTest, ConnectStartsWatching) {
  ViewStage stage;
  stage.install();
  CornerCard card(stage.bridge(), [] {});
  card.controlChip()->click();
  stage.finishWork();
  EXPECT_TRUE(stage.model().watching());
}

TEST(CornerCardTest, HeaderShowsTheModelsHeadingOrTheFollowedTrack) {
  ViewStage stage;
  stage.install();
  CornerCard card(stage.bridge(), [] {});
  const auto heading = stage.model().cardHeading();
  EXPECT_EQ(card.titleLine()->text(), toQString(heading.title));
  EXPECT_EQ(card.subtitleLine()->text(), toQString(heading.subtitle));

  stage.connect();
  stage.deliver({DeckContent::empty(), DeckContent::track("6")}, 2);
  EXPECT_EQ(card.titleLine()->text(), toQString(test::kLongTitle));
  EXPECT_EQ(card.titleLine()->toolTip(), toQString(test::kLongTitle));
  EXPECT_EQ(card.subtitleLine()->text(), "Deck 2 · \u2068Orchestra\u2069 · 128 BPM · 8B");
}

TEST(CornerCardTest, StartupQuestionWinsOverVersionsAndVersionsOverLanes) {
  ViewStage stage;
  stage.install();
  stage.connect();
  CornerCard card(stage.bridge(), [] {});
  EXPECT_EQ(card.middle(), Middle::lanes);

  stage.deliver({DeckContent::ambiguous({"7", "8"}), DeckContent::track("2")}, 1,
                TrackerPhase::ambiguousStartup);
  EXPECT_EQ(card.middle(), Middle::startupQuestion);
  EXPECT_EQ(card.deckChoice()->chip(1)->text(), "Deck 1: —");
  EXPECT_EQ(card.deckChoice()->chip(2)->text(), "Deck 2: Levels");

  stage.deliver({DeckContent::ambiguous({"7", "8"}), DeckContent::track("2")}, 1);
  EXPECT_EQ(card.middle(), Middle::versionPick);
  EXPECT_EQ(card.questionLine()->text(), "Which version is on Deck 1?");
  ASSERT_EQ(card.versionChips().size(), 2u);
  card.show();
  QApplication::processEvents();
  EXPECT_EQ(card.versionChips()[0]->shownText(), "\u2068RÜFÜS DU SOL\u2069 · 120");

  stage.deliver({DeckContent::track("1"), DeckContent::track("2")}, 1);
  EXPECT_EQ(card.middle(), Middle::lanes);
}

TEST(CornerCardTest, VersionPickShowsAtMostThreeChips) {
  ViewStage stage;
  stage.install();
  stage.connect();
  CornerCard card(stage.bridge(), [] {});
  stage.deliver({DeckContent::ambiguous({"1", "2", "3", "4", "5"}), DeckContent::empty()}, 1);
  ASSERT_EQ(card.middle(), Middle::versionPick);
  const std::vector<Track> candidates = stage.model().candidates(1);
  ASSERT_EQ(card.versionChips().size(), std::min<std::size_t>(3, candidates.size()));
  // Three chips share the card's width: the artist is cut, never the tempo.
  card.show();
  QApplication::processEvents();
  for (std::size_t i = 0; i < card.versionChips().size(); ++i) {
    const QString shown = card.versionChips()[i]->shownText();
    EXPECT_TRUE(shown.endsWith(" · " + toQString(candidates[i].displayBPM()))) << shown.toStdString();
  }
}

QStringList entries(CornerCard& card) {
  QStringList texts;
  const auto menu = card.makeContextMenu();
  for (const QAction* action : menu->actions()) texts << action->text();
  return texts;
}

TEST(CornerCardTest, ContextMenuFlagsOrSwitchesOnlyWhileWatching) {
  ViewStage stage;
  stage.install();
  CornerCard card(stage.bridge(), [] {});
  EXPECT_TRUE(entries(card).isEmpty());

  stage.connect();
  stage.deliver({DeckContent::track("1"), DeckContent::empty()}, 1);
  EXPECT_EQ(entries(card), QStringList{"Kesta is following the wrong track"});

  stage.deliver({DeckContent::track("1"), DeckContent::track("2")}, 1);
  EXPECT_EQ(entries(card), (QStringList{"Kesta is following the wrong track", "Follow Deck 2 instead"}));

  stage.model().stopWatching();
  stage.finishWork();
  EXPECT_TRUE(entries(card).isEmpty());
}

TEST(CornerCardTest, FooterShowsTheShortStatusWithTheLongOneAsTooltip) {
  ViewStage stage;
  stage.install();
  CornerCard card(stage.bridge(), [] {});
  stage.model().show("A notice long enough to need its short form on the card", "Short notice", 8);
  EXPECT_EQ(card.statusLine()->text(), toQString(stage.model().compactStatus()));
  EXPECT_EQ(card.statusLine()->toolTip(), toQString(stage.model().statusLine()));
  EXPECT_NE(card.statusLine()->text(), card.statusLine()->toolTip());
}

}  // namespace
}  // namespace kesta::ui
