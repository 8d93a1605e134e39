#include <gtest/gtest.h>

#include <filesystem>

#include "watching_fixture.h"

namespace kesta::test {
using namespace kesta::model;
namespace {

using WatchingTest = WatchingFixture;

const std::vector<DeckContent> kBothLoaded{DeckContent::track("1"), DeckContent::track("2")};

TEST_F(WatchingTest, ConnectWithoutALibraryDoesNothingButRefreshThePermission) {
  screen->isGranted = false;
  model().startWatching();
  EXPECT_TRUE(engines->made.empty());
  EXPECT_EQ(screen->requests, 0);
  EXPECT_FALSE(model().watching());
  EXPECT_FALSE(model().screenPermission());
  EXPECT_FALSE(model().askedForScreenPermission());
  EXPECT_FALSE(model().notice());
}

TEST_F(WatchingTest, ConnectWithoutPermissionAsksAndOpensTheSettingsOnlyWhenStillMissing) {
  struct Row {
    const char* name;
    bool requestGrants;
    std::size_t opened;
  };
  const Row rows[] = {{"refused", false, 1}, {"granted on request", true, 0}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    screen->isGranted = false;
    screen->requestGrants = row.requestGrants;
    urls->opened.clear();
    ModelProbe::install(model(), watchedLibrary());
    const int requests = screen->requests;
    model().startWatching();
    EXPECT_EQ(screen->requests, requests + 1);
    EXPECT_EQ(urls->opened.size(), row.opened);
    if (row.opened) {
      EXPECT_EQ(urls->opened[0], screen->settingsURL());
    }
    EXPECT_EQ(model().screenPermission(), row.requestGrants);
    EXPECT_TRUE(model().askedForScreenPermission());
    EXPECT_FALSE(model().watching());
    EXPECT_TRUE(engines->made.empty());
  }
}

TEST_F(WatchingTest, ConnectStartsTheEngineAfterTheSettingAndResetsWhatItMust) {
  FakeEngine& first = connect();
  EngineUpdate update = readingUpdate(kBothLoaded, focusOn(1, DeckContent::track("1"), 1));
  update.motion = {DeckMotion::stopped(4), DeckMotion::running()};
  update.mixer = {MixerReading{0.8, true}, std::nullopt};
  update.pendingDecks = {2};
  deliver(update);
  model().stopWatching();
  EXPECT_TRUE(first.stopped);

  model().setIncludeRawText(true);
  queue->drain();
  FakeEngine& second = connect();
  EXPECT_EQ(second.calls, (std::vector<std::string>{"setIncludeRawText(true)", "start"}));
  EXPECT_TRUE(model().watching());
  EXPECT_EQ(model().health(), ReaderHealth::connecting());
  EXPECT_EQ(model().decks(), (std::vector<DeckContent>{DeckContent::unknown(), DeckContent::unknown()}));
  EXPECT_EQ(model().focus(), std::nullopt);
  EXPECT_EQ(model().phase(), TrackerPhase::waiting);
  EXPECT_TRUE(model().lanes().empty());
  EXPECT_EQ(model().motion(), update.motion);
  EXPECT_EQ(model().mixer(), update.mixer);
  EXPECT_EQ(second.library.trackCount(), 3u);
  EXPECT_EQ(second.keys->size(), 3u);
  // Each Connect hands over the keeper's one map, never a copy of it.
  EXPECT_EQ(first.keys, ModelProbe::songKeys(model()));
  EXPECT_EQ(second.keys, first.keys);
}

TEST_F(WatchingTest, StopRemembersTheFocusStopsTheEngineAndSavesTheDiagnostics) {
  FakeEngine& engine = connect();
  EngineUpdate update = readingUpdate(kBothLoaded, focusOn(2, DeckContent::track("2"), 1));
  update.pendingDecks = {1};
  deliver(update);
  std::filesystem::remove(file("preferences.json"));
  wall->date = wall->date.adding(120);  // the stored point is old enough to be written again
  notifications.clear();

  model().stopWatching();
  EXPECT_EQ(engine.calls.back(), "stop");
  EXPECT_FALSE(model().watching());
  EXPECT_EQ(model().health(), ReaderHealth::idle());
  EXPECT_TRUE(model().pendingDecks().empty());
  EXPECT_EQ(model().decks(), kBothLoaded);  // the last state stays visible
  EXPECT_EQ(model().focus(), update.focus);
  const auto point = store->preferences().resumePoint;
  ASSERT_TRUE(point);
  EXPECT_EQ(point->deck, 2);
  EXPECT_EQ(point->decks, kBothLoaded);
  EXPECT_EQ(point->at, wall->date);
  const auto saved = store->latestDiagnostics(std::nullopt);
  ASSERT_TRUE(saved);
  EXPECT_EQ(saved->id, model().diagnosticsSession().id);
  EXPECT_EQ(saved->log.scans.size(), 1u);
  EXPECT_EQ(saved->updatedAt, wall->date);
  // An update that was on its way changes nothing once stopped.
  engine.deliverLate(readingUpdate({DeckContent::empty(), DeckContent::empty()}, std::nullopt));
  EXPECT_EQ(model().decks(), kBothLoaded);
}

TEST_F(WatchingTest, FinalDiagnosticsAreWrittenAtOnceOnlyWhenSomethingWasRecorded) {
  model().finishDiagnostics();
  EXPECT_FALSE(std::filesystem::exists(dataDir() / "diagnostics"));

  connect();
  deliver(readingUpdate(kBothLoaded, std::nullopt, TrackerPhase::ambiguousStartup));
  wall->date = wall->date.adding(5);
  model().finishDiagnostics();
  const auto saved = store->latestDiagnostics(std::nullopt);
  ASSERT_TRUE(saved);
  EXPECT_EQ(saved->endedAt, wall->date);
  EXPECT_EQ(saved->updatedAt, wall->date);
}

TEST_F(WatchingTest, RelaunchQuitsOnlyWhenTheNewInstanceStarted) {
  connect();
  deliver(readingUpdate(kBothLoaded, std::nullopt, TrackerPhase::ambiguousStartup));
  relauncher->startSucceeds = false;
  model().relaunch();
  EXPECT_EQ(relauncher->starts, 1);
  queue->drain();
  EXPECT_EQ(relauncher->terminations, 0);
  EXPECT_EQ(model().notice(), "Kesta couldn't open a new copy of itself. Quit Kesta and open it again.");
  EXPECT_EQ(model().noticeShort(), "Couldn't reopen. Quit and open Kesta again.");
  ASSERT_TRUE(store->latestDiagnostics(std::nullopt));  // written before the attempt

  relauncher->startSucceeds = true;
  model().relaunch();
  EXPECT_EQ(relauncher->terminations, 0);  // queued, not inside the call
  queue->drain();
  EXPECT_EQ(relauncher->terminations, 1);
}

TEST_F(WatchingTest, ALateUpdateOfAStoppedEngineIsIgnoredByTheNextSession) {
  FakeEngine& old = connect();
  model().stopWatching();
  connect();
  const auto scans = model().diagnosticsSession().log.scans.size();
  EngineUpdate late = readingUpdate(kBothLoaded, focusOn(1, DeckContent::track("1"), 4));
  late.events = {TrackerEvent::load(1, DeckContent::track("1"), DeckContent::empty(), 10)};
  old.deliverLate(late);
  EXPECT_EQ(model().decks(), (std::vector<DeckContent>{DeckContent::unknown(), DeckContent::unknown()}));
  EXPECT_EQ(model().focus(), std::nullopt);
  EXPECT_TRUE(model().activeSet().events.empty());
  EXPECT_EQ(model().diagnosticsSession().log.scans.size(), scans);
}

TEST_F(WatchingTest, QuitRemembersTheFocusWritesTheDiagnosticsAndShutsTheEngineDown) {
  FakeEngine& engine = connect();
  deliver(readingUpdate(kBothLoaded, focusOn(1, DeckContent::track("1"), 1)));
  model().prepareToQuit();
  EXPECT_EQ(engine.calls.back(), "shutdown");
  EXPECT_TRUE(store->preferences().resumePoint);
  const auto saved = store->latestDiagnostics(std::nullopt);
  ASSERT_TRUE(saved);
  EXPECT_TRUE(saved->endedAt);
}

}  // namespace
}  // namespace kesta::test
