#include "ui/views/full_view.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QLayout>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

#include "model/store_notice.h"
#include "ui/look/chip_button.h"
#include "ui/look/status_text.h"
#include "ui/views/root_view.h"
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

// Presses `button` of the open confirmation: its action button or Cancel.
void answer(FullView& view, bool confirm) {
  QMessageBox* box = view.confirmation();
  ASSERT_NE(box, nullptr);
  ASSERT_EQ(box->buttons().size(), 2);
  for (QAbstractButton* button : box->buttons()) {
    if ((box->buttonRole(button) == QMessageBox::AcceptRole) == confirm) {
      button->click();
      return;
    }
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
  EXPECT_EQ(view.confirmation()->text(), "End this set?");
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
  EXPECT_EQ(view.confirmation()->text(), "Bring back the tracks you've used this set?");
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
