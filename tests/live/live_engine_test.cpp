#include "live/live_engine.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <condition_variable>
#include <future>
#include <thread>

#include "live/engine_fakes.h"
#include "reading/reading_fixtures.h"

namespace kesta {
namespace {

using test::FakeFrameSource;
using test::FakeScreen;
using test::libraryOf;
using test::libraryTrack;
using test::VirtualClock;

class LiveEngineTest : public ::testing::Test {
 protected:
  LiveEngineTest() {
    Library library = libraryOf({libraryTrack("1", "Midnight Signal", "Echo Unit"),
                                 libraryTrack("2", "Golden Hour Drive", "Mira Lane"),
                                 libraryTrack("3", "Paper Planes Over", "North Coast")});
    index = LibraryIndex(library);
    engine = LiveEngine::create({.source = std::make_unique<FakeFrameSource>(source),
                                 .recognizer = test::screenReader(screen, screenMutex),
                                 .index = index,
                                 .songKeys = LiveEngine::songKeysOf(index),
                                 .timing = clock->timing()});
  }

  void show(std::vector<std::string> deck1, std::vector<std::string> deck2) {
    const std::lock_guard lock(*screenMutex);
    screen->deck1 = std::move(deck1);
    screen->deck2 = std::move(deck2);
  }

  // One scan as the loop would run it, a quarter second after the last.
  EngineUpdate scan() {
    clock->advance(0.25);
    return engine->scanOnce(clock->now());
  }

  std::vector<std::string> scanLines(int scans) {
    std::vector<std::string> lines;
    for (int i = 0; i < scans; ++i) {
      const auto update = scan();
      lines.insert(lines.end(), update.scan.events.begin(), update.scan.events.end());
    }
    return lines;
  }

  std::shared_ptr<VirtualClock> clock = std::make_shared<VirtualClock>();
  std::shared_ptr<FakeFrameSource::Shared> source = std::make_shared<FakeFrameSource::Shared>();
  std::shared_ptr<FakeScreen> screen = std::make_shared<FakeScreen>();
  std::shared_ptr<std::mutex> screenMutex = std::make_shared<std::mutex>();
  LibraryIndex index;
  std::shared_ptr<LiveEngine> engine;
};

bool contains(const std::vector<std::string>& lines, const std::string& line) {
  return std::find(lines.begin(), lines.end(), line) != lines.end();
}

TEST_F(LiveEngineTest, FirstScanConnectsAndCapturesWithTheConnectInItsCaptureTime) {
  source->onConnect = [this] { clock->advance(0.05); };
  const auto update = scan();
  EXPECT_EQ(source->connects, 1);
  EXPECT_EQ(source->captures, 1);
  EXPECT_NEAR(update.scan.captureMs, 50.0, 1e-6);
  EXPECT_EQ(update.scan.seq, 1u);
  EXPECT_EQ(update.health, ReaderHealth::reading());
  EXPECT_TRUE(update.frame);
  EXPECT_FALSE(update.scan.failure);
  EXPECT_EQ(update.scan.ocrSkipped, std::vector<int>{});
  scan();
  EXPECT_EQ(source->connects, 1);
}

TEST_F(LiveEngineTest, RefusedConnectWaitsASecondBeforeTryingAgain) {
  source->onConnect = [] { throw CaptureError::permissionNeeded(); };
  const auto refused = scan();
  EXPECT_EQ(refused.scan.failure, "permissionNeeded");
  EXPECT_EQ(refused.health, ReaderHealth::failed(CaptureError::permissionNeeded().errorDescription(),
                                                 CaptureError::permissionNeeded().shortDescription()));
  EXPECT_FALSE(refused.frame);
  EXPECT_TRUE(refused.events.empty());

  for (int i = 0; i < 3; ++i) EXPECT_EQ(scan().scan.failure, "permissionNeeded (waiting to retry)");
  EXPECT_EQ(source->connects, 1);
  scan();  // a full second after the failure
  EXPECT_EQ(source->connects, 2);
}

TEST_F(LiveEngineTest, OtherConnectErrorsAreWrittenAsConnect) {
  source->onConnect = [] { throw std::runtime_error("display gone"); };
  const auto failed = scan();
  EXPECT_EQ(failed.scan.failure, "connect");
  EXPECT_EQ(failed.health, ReaderHealth::failed("display gone", std::nullopt));
  EXPECT_EQ(scan().scan.failure, "captureFailed(\"display gone\") (waiting to retry)");
}

TEST_F(LiveEngineTest, FailedCaptureReconnectsOnTheNextScan) {
  scan();
  source->onCapture = [] { throw CaptureError::windowNotVisible(); };
  const auto failed = scan();
  EXPECT_EQ(failed.scan.failure, "windowNotVisible");
  EXPECT_FALSE(failed.scan.clocksRead);
  source->onCapture = nullptr;
  scan();
  EXPECT_EQ(source->connects, 2);
}

TEST_F(LiveEngineTest, ConfirmsLoadsAndWritesTheirEventLines) {
  show({"Midnight Signal", "Echo Unit"}, {"No Track Loaded"});
  const auto start = scanLines(12);
  EXPECT_TRUE(contains(start, "initial d1 track")) << ::testing::PrintToString(start);
  EXPECT_EQ(scan().decks[1], DeckContent::empty());

  show({"Midnight Signal", "Echo Unit"}, {"Golden Hour Drive", "Mira Lane"});
  const auto loaded = scanLines(8);
  EXPECT_TRUE(contains(loaded, "load d2 empty\u2192track")) << ::testing::PrintToString(loaded);
  const auto update = scan();
  EXPECT_EQ(update.decks[1], DeckContent::track("2"));
  ASSERT_TRUE(update.focus);
  EXPECT_EQ(update.focus->deck, 2);
  EXPECT_EQ(update.focus->kind, FocusKind::load);
  EXPECT_EQ(update.phase, TrackerPhase::following);
}

TEST_F(LiveEngineTest, UnreadableDecksTurnIntoCannotSeeDecksAndAForcedReconnect) {
  scan();  // readable: nothing shown is still "no title"
  source->onCapture = nullptr;
  show({}, {});
  // Empty crops read nothing at all: unreadable on both decks.
  std::vector<ReaderHealth> health;
  std::vector<std::size_t> reconnects;
  for (int i = 1; i <= 48; ++i) {
    const auto update = scan();
    health.push_back(update.health);
    if (contains(update.scan.events, "reconnect: decks unreadable")) reconnects.push_back(std::size_t(i));
  }
  // Readings only skip or verify while anchored; an unanchored unreadable deck counts from the first scan.
  EXPECT_EQ(health[10], ReaderHealth::reading());          // 2.75 s
  EXPECT_EQ(health[11], ReaderHealth::cannotSeeDecks(3));  // 3.0 s
  EXPECT_EQ(health[19], ReaderHealth::cannotSeeDecks(5));  // 5.0 s
  ASSERT_GE(reconnects.size(), 2u);
  EXPECT_EQ(reconnects[0], 20u);
  EXPECT_EQ(reconnects[1] - reconnects[0], 20u);  // at most once every 5 s
  EXPECT_GE(source->connects, 3);
}

TEST_F(LiveEngineTest, ReplacingTheLibraryStartsTheTrackerAgain) {
  show({"Midnight Signal", "Echo Unit"}, {"Golden Hour Drive", "Mira Lane"});
  scanLines(12);
  engine->replaceLibrary(index, LiveEngine::songKeysOf(index));
  show({}, {});
  clock->advance(0.25);
  const auto update = engine->scanOnce(clock->now());
  EXPECT_EQ(update.decks[0], DeckContent::unknown());
  EXPECT_FALSE(update.focus);
  EXPECT_EQ(update.phase, TrackerPhase::waiting);
}

TEST_F(LiveEngineTest, ChoosingALoadedDeckMakesItTheFocus) {
  show({"Midnight Signal", "Echo Unit"}, {"Golden Hour Drive", "Mira Lane"});
  scanLines(12);
  const auto focus = engine->chooseDeck(2);
  ASSERT_TRUE(focus);
  EXPECT_EQ(focus->deck, 2);
  EXPECT_EQ(focus->kind, FocusKind::userChoice);
  EXPECT_EQ(engine->chooseDeck(7), focus);  // out of range: nothing changes
}

TEST_F(LiveEngineTest, StoppedCheckNeedsAConnectionAndAStillReadout) {
  EXPECT_EQ(engine->confirmStopped(1), std::nullopt);
  EXPECT_EQ(source->captures, 0);

  show({"Midnight Signal", "Echo Unit", "01:02.5"}, {"No Track Loaded"});
  scanLines(16);  // the readout has stood still for 4 s
  EXPECT_EQ(engine->confirmStopped(1), true);
  show({"Midnight Signal", "Echo Unit", "01:03.5"}, {"No Track Loaded"});
  EXPECT_EQ(engine->confirmStopped(1), false);  // moved since the last scan
  show({"Midnight Signal", "Echo Unit"}, {"No Track Loaded"});
  EXPECT_EQ(engine->confirmStopped(1), std::nullopt);
}

TEST_F(LiveEngineTest, AKeyReadOnceIsKeptUntilSeventeenScreenTracksAreHeld) {
  // The deck shows a track that is not in the library, with its key; then
  // `others` more such tracks pass, then the first again without its key.
  // Seventeen kept tracks per deck: the one more than that starts afresh.
  const struct {
    int others;
    std::optional<std::string> keyText;
  } cases[] = {{15, "8A"}, {16, std::nullopt}};
  for (const auto& c : cases) {
    engine = LiveEngine::create({.source = std::make_unique<FakeFrameSource>(source),
                                 .recognizer = test::screenReader(screen, screenMutex),
                                 .index = index,
                                 .songKeys = LiveEngine::songKeysOf(index),
                                 .timing = clock->timing()});
    show({"Midnight Signal", "Echo Unit"}, {"Unknown Song", "Nobody", "124.00", "8A"});
    scan();
    for (int i = 0; i < c.others; ++i) {
      show({"Midnight Signal", "Echo Unit"}, {"Other Song " + std::to_string(i), "Nobody", "124.00"});
      scan();
    }
    show({"Midnight Signal", "Echo Unit"}, {"Unknown Song", "Nobody", "124.00"});
    std::optional<ScreenTrack> shown;
    for (int i = 0; i < 40 && !(shown && shown->title == "Unknown Song"); ++i) {
      const auto update = scan();
      if (const auto found = update.screenTracks.find(2); found != update.screenTracks.end())
        shown = found->second;
    }
    ASSERT_TRUE(shown) << c.others;
    EXPECT_EQ(shown->title, "Unknown Song");
    EXPECT_EQ(shown->keyText, c.keyText) << c.others << " others";
  }
}

TEST(LiveEngineDescribe, WritesOneLinePerEvent) {
  Focus focus{2, DeckContent::track("7"), 3, FocusKind::load, 1.0, false};
  Focus unloaded = focus;
  unloaded.deckUnloaded = true;
  const std::pair<TrackerEvent, std::string> cases[] = {
      {TrackerEvent::initial(1, DeckContent::ambiguous({"1", "2", "3"})), "initial d1 ambiguous(3)"},
      {TrackerEvent::load(2, DeckContent::track("7"), DeckContent::empty(), 1.0), "load d2 empty\u2192track"},
      {TrackerEvent::refined(1, DeckContent::unmatched("x")), "refined d1 unmatched"},
      {TrackerEvent::unload(2, DeckContent::unknown()), "unload d2"},
      {TrackerEvent::focus(focus), "focus d2 #3 load"},
      {TrackerEvent::focus(unloaded), "focus d2 #3 load unloaded"},
      {TrackerEvent::playEvidence(1, "7"), "played d1"},
      {TrackerEvent::staleFrameRejected(18446744073709551615ull), "stale-frame 18446744073709551615"},
      {TrackerEvent::changeRejected(2, "no pixel change"), "rejected d2: no pixel change"},
      {TrackerEvent::startupAmbiguous(), "startup-ambiguous"},
  };
  for (const auto& [event, line] : cases) EXPECT_EQ(LiveEngine::describe(event), line);
}

// The loop, driven in virtual time: each test collects updates until it stops the loop.
class LiveEngineLoopTest : public LiveEngineTest {
 protected:
  struct Collected {
    std::mutex mutex;
    std::condition_variable changed;
    std::vector<EngineUpdate> updates;
    bool ended = false;
  };

  // Runs the loop until `enough` says so, then stops it from inside the callback.
  std::vector<EngineUpdate> runUntil(std::function<bool(const std::vector<EngineUpdate>&)> enough,
                                     std::function<void()> inCallback = {}) {
    auto collected = std::make_shared<Collected>();
    std::weak_ptr<LiveEngine> weak = engine;
    engine->start([collected, enough, inCallback, weak](EngineUpdate update) {
      if (inCallback) inCallback();
      const std::lock_guard lock(collected->mutex);
      if (collected->ended) return;
      collected->updates.push_back(std::move(update));
      if (enough(collected->updates)) {
        collected->ended = true;
        if (auto engine = weak.lock()) engine->stop();
        collected->changed.notify_all();
      }
    });
    std::unique_lock lock(collected->mutex);
    collected->changed.wait(lock, [&] { return collected->ended; });
    return collected->updates;
  }
};

TEST_F(LiveEngineLoopTest, PacesScansAQuarterSecondApart) {
  const auto updates = runUntil([](const auto& u) { return u.size() == 3; });
  EXPECT_FALSE(updates[0].scanGapMs);
  ASSERT_TRUE(updates[1].scanGapMs);
  EXPECT_NEAR(*updates[1].scanGapMs, 250.0, 1e-6);
  EXPECT_NEAR(*updates[2].scanGapMs, 250.0, 1e-6);
}

TEST_F(LiveEngineLoopTest, ASlowCallbackLeavesTheMinimumGap) {
  const auto updates = runUntil([](const auto& u) { return u.size() == 2; }, [this] { clock->advance(1.0); });
  ASSERT_TRUE(updates[1].scanGapMs);
  EXPECT_NEAR(*updates[1].scanGapMs, 1060.0, 1e-6);
}

TEST_F(LiveEngineLoopTest, StopFromTheCallbackEndsTheLoop) {
  runUntil([](const auto& u) { return u.size() == 1; });
  const int captures = source->captures;
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_LE(source->captures, captures + 1);
}

TEST_F(LiveEngineLoopTest, ReleasingTheEngineEndsTheLoop) {
  auto calls = std::make_shared<std::atomic<int>>(0);
  auto released = std::make_shared<std::promise<void>>();
  auto done = released->get_future();
  engine->start([calls, released](EngineUpdate) {
    if (++*calls == 3) released->set_value();
  });
  done.wait();
  const std::weak_ptr<LiveEngine> weak = engine;
  engine.reset();  // the loop's pass may hold the last reference until it ends
  for (int i = 0; i < 500 && !weak.expired(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
  ASSERT_TRUE(weak.expired());
  const int after = calls->load();
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_EQ(calls->load(), after);
}

TEST_F(LiveEngineLoopTest, StartingAgainReplacesTheFirstLoop) {
  auto first = std::make_shared<std::atomic<int>>(0);
  engine->start([first](EngineUpdate) { ++*first; });
  const auto updates = runUntil([](const auto& u) { return u.size() == 3; });
  const int firstCount = first->load();
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_LE(first->load(), firstCount + 1);
  EXPECT_EQ(updates.size(), 3u);
}

TEST_F(LiveEngineLoopTest, StopAndWaitReturnsOnceTheLoopThreadHasEnded) {
  auto calls = std::make_shared<std::atomic<int>>(0);
  auto third = std::make_shared<std::promise<void>>();
  auto seen = third->get_future();
  engine->start([calls, third](EngineUpdate) {
    if (++*calls == 3) third->set_value();
  });
  seen.wait();
  EXPECT_TRUE(engine->hasLoopThread());
  engine->stopAndWait();
  EXPECT_FALSE(engine->hasLoopThread());
  const int captures = source->captures;
  const int updates = calls->load();
  engine.reset();  // nothing left to wait for
  EXPECT_EQ(source->captures, captures);
  EXPECT_EQ(calls->load(), updates);
}

TEST_F(LiveEngineLoopTest, StopAndWaitFromTheCallbackDoesNotWaitForItself) {
  std::weak_ptr<LiveEngine> weak = engine;
  auto done = std::make_shared<std::promise<void>>();
  auto stopped = done->get_future();
  engine->start([weak, done](EngineUpdate) {
    if (const auto engine = weak.lock()) {
      engine->stopAndWait();
      done->set_value();
    }
  });
  stopped.wait();
  EXPECT_FALSE(engine->hasLoopThread());
}

TEST_F(LiveEngineTest, TheTrackerKnowsTwoEntriesOfOneSongByTheSongKeysItWasGiven) {
  // The deck reads as the one entry, then as the other: the same song, unless
  // the tracker lacks the song keys. The loop is started (and stopped in its
  // first update) so that the tracker it starts afresh is the one checked.
  const LibraryIndex twins(libraryOf({libraryTrack("1", "Midnight Signal", "Echo Unit", 124.0),
                                      libraryTrack("2", "Midnight Signal", "Echo Unit", 131.0)}));
  const std::vector<std::string> newLoad{"load d1 track→track", "focus d1 #2 load"};
  const struct {
    LiveEngine::SharedSongKeys made;
    std::optional<LiveEngine::SharedSongKeys> replaced;
    std::vector<std::string> expected;
  } cases[] = {{LiveEngine::songKeysOf(twins), std::nullopt, {}},
               {LoadTracker::noSongKeys(), std::nullopt, newLoad},
               {LoadTracker::noSongKeys(), LiveEngine::songKeysOf(twins), {}},
               {LiveEngine::songKeysOf(twins), LoadTracker::noSongKeys(), newLoad}};
  for (const auto& c : cases) {
    engine = LiveEngine::create({.source = std::make_unique<FakeFrameSource>(source),
                                 .recognizer = test::screenReader(screen, screenMutex),
                                 .index = twins,
                                 .songKeys = c.made,
                                 .timing = clock->timing()});
    if (c.replaced) engine->replaceLibrary(twins, *c.replaced);
    show({"Midnight Signal", "Echo Unit", "124.00"}, {"No Track Loaded"});
    auto done = std::make_shared<std::promise<void>>();
    engine->start([weak = std::weak_ptr(engine), done](EngineUpdate) {
      if (const auto engine = weak.lock()) {
        engine->stopAndWait();
        done->set_value();
      }
    });
    done->get_future().wait();
    engine->stopAndWait();
    scanLines(12);
    show({"Midnight Signal", "Echo Unit", "131.00"}, {"No Track Loaded"});
    EXPECT_EQ(scanLines(12), c.expected);
  }
}

}  // namespace
}  // namespace kesta
