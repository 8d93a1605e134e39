// The real live engine behind the model's engine port, over a fake window,
// with the test's thread serving the main queue.

#include "model/engine_session.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "live/engine_fakes.h"
#include "loop_main_queue.h"
#include "model_fixture.h"
#include "model_probe.h"
#include "reading/reading_fixtures.h"

namespace kesta::test {
using namespace kesta::model;
namespace {

using kesta::test::FakeFrameSource;
using kesta::test::FakeScreen;
using kesta::test::libraryOf;
using kesta::test::libraryTrack;
using kesta::test::VirtualClock;

const Library kLibrary = libraryOf(
    {libraryTrack("1", "Midnight Signal", "Echo Unit"), libraryTrack("2", "Golden Hour Drive", "Mira Lane")});

// A live engine over a fake window in virtual time.
struct EngineRig {
  EngineRig() {
    screen->deck1 = {"Midnight Signal", "Echo Unit"};
    screen->deck2 = {"Golden Hour Drive", "Mira Lane"};
  }

  std::shared_ptr<LiveEngine> make() {
    const LibraryIndex index(kLibrary);
    auto engine = LiveEngine::create({.source = std::make_unique<FakeFrameSource>(source),
                                      .recognizer = kesta::test::screenReader(screen, screenMutex),
                                      .index = index,
                                      .songKeys = LiveEngine::songKeysOf(index),
                                      .timing = clock->timing()});
    made.push_back(engine);
    return engine;
  }

  int captures() const {
    const std::lock_guard lock(source->mutex);
    return source->captures;
  }

  std::shared_ptr<VirtualClock> clock = std::make_shared<VirtualClock>();
  std::shared_ptr<FakeFrameSource::Shared> source = std::make_shared<FakeFrameSource::Shared>();
  std::shared_ptr<FakeScreen> screen = std::make_shared<FakeScreen>();
  std::shared_ptr<std::mutex> screenMutex = std::make_shared<std::mutex>();
  std::vector<std::weak_ptr<LiveEngine>> made;
};

class EngineSessionTest : public ::testing::Test {
 protected:
  EngineRig rig;
  std::shared_ptr<LoopMainQueue> queue = std::make_shared<LoopMainQueue>();
  std::shared_ptr<LiveEngine> engine = rig.make();
  const std::thread::id mainThread = std::this_thread::get_id();
};

TEST_F(EngineSessionTest, UpdatesAreAppliedInOrderOnTheMainThreadAndTheNextScanWaitsForThem) {
  EngineSession session(engine, queue);
  std::vector<std::uint64_t> seqs;
  bool onMainThread = true;
  bool scansWaited = true;
  session.start([&](const EngineUpdate& update) {
    seqs.push_back(update.scan.seq);
    onMainThread = onMainThread && std::this_thread::get_id() == mainThread;
    scansWaited = scansWaited && rig.captures() == static_cast<int>(update.scan.seq);
    // A loop that did not wait would scan on and on in virtual time meanwhile.
    if (seqs.size() == 2) std::this_thread::sleep_for(std::chrono::milliseconds(20));
    scansWaited = scansWaited && rig.captures() == static_cast<int>(update.scan.seq);
  });
  ASSERT_TRUE(queue->serveUntil([&] { return seqs.size() == 5; }));
  session.shutdown();
  queue->drain();
  EXPECT_EQ(seqs, (std::vector<std::uint64_t>{1, 2, 3, 4, 5}));
  EXPECT_TRUE(onMainThread);
  EXPECT_TRUE(scansWaited);
}

TEST_F(EngineSessionTest, NothingIsAppliedAfterStop) {
  EngineSession session(engine, queue);
  int applied = 0;
  session.start([&](const EngineUpdate&) {
    if (++applied == 3) session.stop();
  });
  ASSERT_TRUE(queue->serveUntil([&] { return applied == 3; }));
  session.shutdown();
  queue->drain();
  EXPECT_EQ(applied, 3);
  EXPECT_FALSE(engine->hasLoopThread());
}

TEST_F(EngineSessionTest, ShutdownReleasesAnUpdateWaitingForTheMainThread) {
  EngineSession session(engine, queue);
  int applied = 0;
  session.start([&](const EngineUpdate&) { ++applied; });
  ASSERT_TRUE(queue->waitForWork());  // the loop now waits for its first update to be applied
  session.shutdown();
  EXPECT_FALSE(engine->hasLoopThread());
  queue->drain();
  EXPECT_EQ(applied, 0);
}

TEST_F(EngineSessionTest, CallsAnswerOnTheMainThreadInOrder) {
  EngineSession session(engine, queue);
  std::vector<std::string> answers;
  session.setIncludeRawText(true);
  session.confirmStopped(
      1, [&](std::optional<bool> stopped) { answers.push_back(stopped ? "stopped?" : "cannot tell"); });
  session.chooseDeck(7, FocusKind::userChoice, [&](std::optional<Focus> focus) {
    answers.push_back(focus ? "focus" : "no focus");
    EXPECT_EQ(std::this_thread::get_id(), mainThread);
  });
  session.deckView([&](DeckViewAnswer view) { answers.push_back(view.error ? "error" : "view"); });
  ASSERT_TRUE(queue->serveUntil([&] { return answers.size() == 3; }));
  EXPECT_EQ(answers, (std::vector<std::string>{"cannot tell", "no focus", "view"}));
}

TEST_F(EngineSessionTest, CallsQueuedBehindAScanAreStillAnsweredWhenTheSessionShutsDown) {
  EngineSession session(engine, queue);
  std::unique_lock screen(*rig.screenMutex);  // the first scan stops inside recognition, holding the engine
  session.start([](const EngineUpdate&) {});
  while (rig.captures() == 0) std::this_thread::yield();
  std::vector<std::string> answers;
  session.chooseDeck(1, FocusKind::userChoice, [&](std::optional<Focus>) { answers.push_back("choose"); });
  session.resolve(2, "2", [&](std::optional<Focus>) { answers.push_back("resolve"); });
  session.deckView([&](DeckViewAnswer) { answers.push_back("view"); });
  std::thread retire([&] { session.shutdown(); });
  std::this_thread::sleep_for(std::chrono::milliseconds(50));  // the shutdown has begun behind the scan
  screen.unlock();
  retire.join();
  queue->drain();
  EXPECT_EQ(answers, (std::vector<std::string>{"choose", "resolve", "view"}));
}

// The model over real engines: Connect, updates, Stop, Connect again, quit.
class EngineBoundaryTest : public ModelFixture {
 protected:
  struct Factory : EngineFactory {
    Factory(EngineRig& rig, std::shared_ptr<LoopMainQueue> queue) : rig(rig), queue(std::move(queue)) {}
    std::shared_ptr<EnginePort> make(LibraryIndex, EnginePort::SharedSongKeys) override {
      return std::make_shared<EngineSession>(rig.make(), queue);
    }
    EngineRig& rig;
    std::shared_ptr<LoopMainQueue> queue;
  };

  std::shared_ptr<AppModel> build() {
    ModelPorts ports = this->ports();
    ports.mainQueue = loop;
    ports.engines = std::make_shared<Factory>(rig, loop);
    auto built = AppModel::create(ports);
    ModelProbe::install(*built, kLibrary);
    return built;
  }

  std::size_t scans(const AppModel& model) const { return model.diagnosticsSession().log.scans.size(); }

  EngineRig rig;
  std::shared_ptr<LoopMainQueue> loop = std::make_shared<LoopMainQueue>();
};

TEST_F(EngineBoundaryTest, QuitLeavesNoEngineThreadRunning) {
  auto model = build();
  model->startWatching();
  ASSERT_TRUE(loop->serveUntil([&] { return scans(*model) >= 3; }));

  model->stopWatching();
  const std::size_t atStop = scans(*model);
  model->startWatching();
  ASSERT_TRUE(loop->serveUntil([&] { return scans(*model) >= atStop + 2; }));
  ASSERT_EQ(rig.made.size(), 2u);
  executor->runAll();  // the stopped engine is let go off the main thread
  EXPECT_TRUE(rig.made[0].expired());

  const auto current = rig.made[1].lock();
  ASSERT_TRUE(current && current->hasLoopThread());
  model->prepareToQuit();
  EXPECT_FALSE(current->hasLoopThread());
  const std::size_t atQuit = scans(*model);
  loop->drain();
  EXPECT_EQ(scans(*model), atQuit);
  EXPECT_TRUE(std::filesystem::exists(dataDir() / "diagnostics"));
}

}  // namespace
}  // namespace kesta::test
