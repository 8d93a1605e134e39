#include "ui/views/full_view.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLayout>
#include <QMenu>
#include <QStyle>
#include <QTest>
#include <QToolButton>

#include "model/store_notice.h"
#include "ui/look/chip_button.h"
#include "ui/look/status_text.h"
#include "ui/views/question_dialog.h"
#include "ui/views/root_view.h"
#include "ui/views/sample_library.h"
#include "ui/views/star_rating.h"
#include "ui/views/text_line.h"
#include "ui/views/view_scenes.h"

namespace kesta::ui {
namespace {

using test::ViewStage;

// The setup buttons before the menu, as "<title> (<prominent|plain>[, off])".
QStringList setupRow(const FullView& view) {
  QStringList shown;
  for (QWidget* widget :
       {static_cast<QWidget*>(view.libraryButton()), static_cast<QWidget*>(view.permissionButton()),
        static_cast<QWidget*>(view.reopenButton()), static_cast<QWidget*>(view.allowOneClickButton()),
        static_cast<QWidget*>(view.connectButton())}) {
    const auto* chip = static_cast<ChipButton*>(widget);
    if (!chip->isVisibleTo(&view)) continue;
    shown << QStringLiteral("%1 (%2%3)")
                 .arg(chip->text(), chip->isProminent() ? "prominent" : "plain",
                      chip->isEnabled() ? "" : ", off");
  }
  return shown;
}

struct SetupCase {
  const char* name;
  bool library;
  bool granted;
  bool asked;
  bool watching;
  QStringList expected;
};

class SetupRowTest : public ::testing::TestWithParam<SetupCase> {};

TEST_P(SetupRowTest, ShowsTheButtonsOfTheState) {
  const SetupCase& c = GetParam();
  ViewStage stage(c.granted);
  if (c.library) stage.install();
  if (c.asked) stage.model().requestScreenPermission();
  if (c.watching) stage.connect();
  FullView view(
      stage.bridge(), [] {}, [](RootView::Sheet) {});
  EXPECT_EQ(setupRow(view), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    States, SetupRowTest,
    ::testing::Values(
        SetupCase{"empty",
                  false,
                  true,
                  false,
                  false,
                  {"Add rekordbox library (prominent)", "Connect rekordbox (plain, off)"}},
        SetupCase{"emptyWithoutPermission",
                  false,
                  false,
                  true,
                  false,
                  {"Add rekordbox library (prominent)", "Connect rekordbox (plain, off)"}},
        SetupCase{
            "ready", true, true, false, false, {"Refresh library (plain)", "Connect rekordbox (prominent)"}},
        SetupCase{"watching", true, true, false, true, {"Refresh library (plain)", "Stop (plain)"}},
        SetupCase{"permissionMissing",
                  true,
                  false,
                  false,
                  false,
                  {"Refresh library (plain)", "Allow screen reading (prominent)"}},
        SetupCase{"permissionAsked",
                  true,
                  false,
                  true,
                  false,
                  {"Open Settings (plain)", "Reopen Kesta (prominent)"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(FullViewTest, OffersOneClickAccessBeforeTheConnectChip) {
  ViewStage stage;
  stage.install();
  stage.loader->authorized = false;
  stage.model().setOneClickLoad(true);
  stage.connect();
  stage.deliver({DeckContent::track("1"), DeckContent::empty()}, 1);
  FullView view(
      stage.bridge(), [] {}, [](RootView::Sheet) {});
  EXPECT_EQ(setupRow(view),
            (QStringList{"Refresh library (plain)", "Allow one-click (prominent)", "Stop (plain)"}));
}

TEST(FullViewTest, EmptyLibraryDisablesThePoolAndLibraryDetails) {
  ViewStage stage;
  FullView view(
      stage.bridge(), [] {}, [](RootView::Sheet) {});
  EXPECT_FALSE(view.poolButton()->isEnabled());
  EXPECT_FALSE(view.libraryDetailsAction()->isEnabled());
  EXPECT_EQ(view.librarySummary()->text(), "Your library stays on this computer.");

  stage.install();
  EXPECT_TRUE(view.poolButton()->isEnabled());
  EXPECT_TRUE(view.libraryDetailsAction()->isEnabled());
  EXPECT_EQ(view.librarySummary()->text(), "8 tracks · 8 suggestible · 2 playlists");
}

TEST(FullViewTest, AStatusTooLongForItsTwoLinesShowsItsShortForm) {
  ViewStage stage;
  stage.install();
  RootView root(stage.bridge(), [](WindowMode) {});
  root.show();
  QApplication::processEvents();
  const FullView& view = *root.fullView();
  EXPECT_EQ(view.statusText()->shownText(), "Ready. Press Connect when rekordbox is open.");

  const model::StoreNotice notice = model::storeNotice(
      {StoreProblem::Kind::saveFailed, "userdata.json", std::make_error_code(std::errc::permission_denied)});
  stage.model().show(notice.text, notice.shortText, notice.seconds);
  EXPECT_EQ(view.statusText()->text().toStdString(), notice.text);
  EXPECT_EQ(view.statusText()->shownText(), "Not saving: Kesta may not write in its data folder.");
}

TEST(FullViewTest, SummaryEndsWithTheExportAge) {
  ViewStage stage;
  stage.install(test::stageLibrary(), Date::fromUnixSeconds(1'779'900'000));
  FullView view(
      stage.bridge(), [] {}, [](RootView::Sheet) {});
  const auto age = stage.model().exportAge();
  ASSERT_TRUE(age.has_value());
  EXPECT_TRUE(view.librarySummary()->text().endsWith(" · " + toQString(*age)));
}

// The pool menu's entries as "<label>[ ✓]", disabled ones in brackets.
QStringList poolEntries(const FullView& view) {
  QStringList entries;
  for (const QAction* action : view.poolMenu()->actions()) {
    if (action->isSeparator()) {
      entries << "--";
      continue;
    }
    const QString label = action->isEnabled() ? action->text() : "[" + action->text() + "]";
    entries << label + (action->isChecked() ? " ✓" : "");
  }
  return entries;
}

TEST(FullViewTest, PoolMenuMarksTheChosenPoolAndTickedPlaylists) {
  ViewStage stage;
  stage.install();
  FullView view(
      stage.bridge(), [] {}, [](RootView::Sheet) {});
  EXPECT_EQ(poolEntries(view),
            (QStringList{"Full collection · 8 ✓", "--", "[Playlists (tick several to combine)]",
                         "\u2068Warm up\u2069 · 3", "\u2068Club / Peak time\u2069 · 3"}));

  view.poolMenu()->actions().at(3)->trigger();
  view.poolMenu()->actions().at(4)->trigger();
  EXPECT_EQ(stage.model().selectedPlaylistIDs(),
            (std::set<std::string>{"00000000000000a1", "00000000000000a2"}));
  EXPECT_EQ(poolEntries(view),
            (QStringList{"Full collection · 8", "--", "[Playlists (tick several to combine)]",
                         "\u2068Warm up\u2069 · 3 ✓", "\u2068Club / Peak time\u2069 · 3 ✓"}));

  view.poolMenu()->actions().at(0)->trigger();
  EXPECT_EQ(stage.model().poolID(), "all");
}

TEST(FullViewTest, LibraryWithoutPlaylistsHasNoPlaylistSection) {
  ViewStage stage;
  Library library = test::stageLibrary();
  library.playlists.clear();
  stage.install(library);
  FullView view(
      stage.bridge(), [] {}, [](RootView::Sheet) {});
  EXPECT_EQ(poolEntries(view), QStringList{"Full collection · 8 ✓"});
}

TEST(FullViewTest, StarsShowAndSetTheFollowedTracksRating) {
  ViewStage stage;
  stage.install();
  FullView view(
      stage.bridge(), [] {}, [](RootView::Sheet) {});
  EXPECT_FALSE(view.stars()->isVisibleTo(&view));
  EXPECT_FALSE(view.wrongTrackButton()->isVisibleTo(&view));

  stage.connect();
  stage.deliver({DeckContent::track("2"), DeckContent::empty()}, 1);
  ASSERT_TRUE(view.stars()->isVisibleTo(&view));
  EXPECT_TRUE(view.wrongTrackButton()->isVisibleTo(&view));
  EXPECT_EQ(view.stars()->rating(), 0);

  view.stars()->resize(view.stars()->sizeHint());
  QTest::mouseClick(view.stars(), Qt::LeftButton, {}, view.stars()->starRect(3).center());
  const auto track = stage.model().currentTrack();
  ASSERT_TRUE(track.has_value());
  EXPECT_EQ(stage.model().rating(*track), 3);
  EXPECT_EQ(view.stars()->rating(), 3);

  QTest::mouseClick(view.stars(), Qt::LeftButton, {}, view.stars()->starRect(1).center());
  EXPECT_EQ(stage.model().rating(*track), 1);
}

// A screen read-out that arrives on a scan of its own, for a track not in the
// library, brings the stars and "Wrong track?" at once; they go with it.
TEST(FullViewTest, ScreenReadoutAloneShowsAndTakesTheStars) {
  test::FakeDrivenModel fake;
  fake.install(test::sampleLibrary());
  fake.connect();
  FullView view(
      fake.bridge(), [] {}, [](RootView::Sheet) {});
  const DeckContent unknownTune = DeckContent::unmatched("Unknown Tune");
  const auto scan = [&fake, &unknownTune](std::map<int, ScreenTrack> screenTracks) {
    EngineUpdate update;
    update.decks = {unknownTune, DeckContent::empty()};
    update.focus = test::sampleFocus(1, unknownTune);
    update.phase = TrackerPhase::following;
    update.health = ReaderHealth::reading();
    update.motion = {DeckMotion::running(), DeckMotion::running()};
    update.mixer = {std::nullopt, std::nullopt};
    update.screenTracks = std::move(screenTracks);
    fake.engines->last()->deliver(update);
    fake.queue->drain();
    fake.settle();
  };
  const auto shown = [&view] {
    return std::pair{view.stars()->isVisibleTo(&view), view.wrongTrackButton()->isVisibleTo(&view)};
  };
  scan({});
  EXPECT_EQ(shown(), std::pair(false, false)) << "unmatched, nothing read";
  scan({{1, ScreenTrack{"Unknown Tune", "Somebody", 124, "8A"}}});
  EXPECT_EQ(shown(), std::pair(true, true)) << "read from the screen";
  scan({});
  EXPECT_EQ(shown(), std::pair(false, false)) << "the read-out went";
}

// The menu holds the mouse while it is open, so the button never hears it
// leave; once the menu closes elsewhere, the button shows no hover box.
TEST(FullViewTest, ActionsButtonForgetsTheMouseWhenItsMenuCloses) {
  ViewStage stage;
  FullView view(
      stage.bridge(), [] {}, [](RootView::Sheet) {});
  view.resize(352, 622);
  view.show();
  QApplication::processEvents();
  QToolButton* button = view.actionsButton();
  const QPoint far = view.mapToGlobal(QPoint(10, view.height() - 10));
  const struct {
    const char* name;
    QPoint cursor;
    bool hovered;
  } cases[] = {
      {"closed elsewhere", far, false},
      {"closed over the button", button->mapToGlobal(button->rect().center()), true},
  };
  for (const auto& c : cases) {
    button->setAttribute(Qt::WA_UnderMouse, true);
    QCursor::setPos(c.cursor);
    view.actionsMenu()->popup(button->mapToGlobal(QPoint(0, button->height())));
    view.actionsMenu()->hide();
    EXPECT_EQ(button->underMouse(), c.hovered) << c.name;
  }
}

// Following the first track shows "Wrong track?" beside the caption; the
// rows below keep their places.
TEST(FullViewTest, RowsBelowTheCaptionHoldStillWhenATrackIsFollowed) {
  ViewStage stage;
  stage.install();
  FullView view(
      stage.bridge(), [] {}, [](RootView::Sheet) {});
  view.resize(352, 622);
  view.show();
  const auto poolTop = [&view] {
    QApplication::processEvents();
    return view.poolButton()->parentWidget()->mapTo(&view, QPoint(0, 0)).y();
  };
  const int idle = poolTop();
  stage.connect();
  EXPECT_EQ(poolTop(), idle) << "connected";
  stage.deliver({DeckContent::track("2"), DeckContent::empty()}, 1);
  ASSERT_TRUE(view.wrongTrackButton()->isVisible());
  EXPECT_EQ(poolTop(), idle) << "following";
}

// Presses the open question's action chip or its "Cancel".
void answer(FullView& view, bool confirm) {
  QuestionDialog* question = view.confirmation();
  ASSERT_NE(question, nullptr);
  (confirm ? question->confirmButton() : question->cancelButton())->click();
}

// Each question of the footer in Kesta's own look: its message on at most two
// lines, no icon anywhere, and chips as wide as their labels.
TEST(FullViewTest, QuestionsFitTheirMessageAndLabels) {
  const struct {
    const char* name;
    ChipButton* (FullView::*button)() const;
    const char* confirm;
  } cases[] = {
      {"end set", &FullView::endSetButton, "End set"},
      {"replay", &FullView::replayButton, "Replay tracks"},
  };
  for (const auto& c : cases) {
    ViewStage stage;
    test::liveOnLongTitle(stage);
    FullView view(
        stage.bridge(), [] {}, [](RootView::Sheet) {});
    (view.*c.button)()->click();
    QuestionDialog* question = view.confirmation();
    ASSERT_NE(question, nullptr) << c.name;
    QApplication::processEvents();
    const auto lines = [](const QLabel& label) {
      const QFontMetrics metrics = label.fontMetrics();
      const QRect wrapped =
          metrics.boundingRect(QRect(0, 0, label.width(), 1000), Qt::TextWordWrap, label.text());
      return wrapped.height() / metrics.lineSpacing();
    };
    EXPECT_EQ(lines(*question->titleLabel()), 1) << c.name;
    EXPECT_LE(lines(*question->messageLabel()), 2) << c.name;
    EXPECT_LE(question->width(), 380) << c.name;
    EXPECT_EQ(question->confirmButton()->text(), c.confirm) << c.name;
    EXPECT_TRUE(question->confirmButton()->isProminent()) << c.name;
    for (const ChipButton* chip : {question->confirmButton(), question->cancelButton()}) {
      EXPECT_EQ(chip->shownText(), chip->text()) << c.name;
      EXPECT_LE(chip->width(), chip->sizeHint().width() + 1) << c.name << ": " << qPrintable(chip->text());
    }
    for (const QAbstractButton* button : question->findChildren<QAbstractButton*>()) {
      EXPECT_TRUE(button->icon().isNull()) << c.name;
    }
    EXPECT_EQ(QApplication::style()->styleHint(QStyle::SH_DialogButtonBox_ButtonsHaveIcons), 0);
    question->reject();
  }
}

TEST(FullViewTest, EndSetAsksFirstAndCancelKeepsTheSet) {
  ViewStage stage;
  test::liveOnLongTitle(stage);
  FullView view(
      stage.bridge(), [] {}, [](RootView::Sheet) {});
  const DJSet before = stage.model().activeSet();
  ASSERT_FALSE(before.entries().empty());
  EXPECT_EQ(view.usedCount()->text(), QStringLiteral("%1 used this set").arg(before.entries().size()));
  stage.wall->date = Date::fromUnixSeconds(1'780'003'600);

  view.endSetButton()->click();
  EXPECT_EQ(view.confirmation()->title(), "End this set?");
  answer(view, false);
  EXPECT_EQ(stage.model().activeSet(), before);

  view.endSetButton()->click();
  answer(view, true);
  stage.finishWork();
  EXPECT_TRUE(stage.model().activeSet().entries().empty());
  EXPECT_EQ(stage.model().archivedSets().size(), 1u);
  EXPECT_EQ(view.usedCount()->text(), "0 used this set");
}

TEST(FullViewTest, ReplayAsksFirstAndCancelKeepsTheUsedTracks) {
  ViewStage stage;
  test::liveOnLongTitle(stage);
  FullView view(
      stage.bridge(), [] {}, [](RootView::Sheet) {});
  ASSERT_TRUE(stage.model().canReplay());
  ASSERT_TRUE(view.replayButton()->isEnabled());

  view.replayButton()->click();
  EXPECT_EQ(view.confirmation()->title(), "Bring back the tracks you've used this set?");
  answer(view, false);
  EXPECT_TRUE(stage.model().canReplay());

  view.replayButton()->click();
  answer(view, true);
  stage.finishWork();
  EXPECT_FALSE(stage.model().canReplay());
  EXPECT_FALSE(view.replayButton()->isEnabled());
}

TEST(FullViewTest, MenuAndMiniReachTheirClosures) {
  ViewStage stage;
  stage.install();
  int collapsed = 0;
  std::vector<RootView::Sheet> opened;
  FullView view(
      stage.bridge(), [&] { ++collapsed; }, [&](RootView::Sheet sheet) { opened.push_back(sheet); });
  view.miniButton()->click();
  for (QAction* action : view.actionsMenu()->actions()) {
    if (action->text().endsWith("…") && !action->text().startsWith("Choose")) action->trigger();
  }
  EXPECT_EQ(collapsed, 1);
  EXPECT_EQ(opened,
            (std::vector{RootView::Sheet::library, RootView::Sheet::sets, RootView::Sheet::diagnostics}));

  view.oneClickAction()->trigger();
  EXPECT_TRUE(stage.model().oneClickLoad());
}

}  // namespace
}  // namespace kesta::ui
