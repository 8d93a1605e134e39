// The real loader on its worker thread, over fake input, windows and
// clipboard, with the test's thread serving the main queue.

#include "model/loader_worker.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "loop_main_queue.h"
#include "oneclick/browser_rows.h"
#include "oneclick/rekordbox_loader.h"
#include "support/fakes/fake_clipboard.h"
#include "support/fakes/fake_input_system.h"
#include "support/fakes/fake_text_recognizer.h"
#include "support/fakes/fake_window_system.h"

namespace kesta::test {
using namespace kesta::model;
namespace {

using kesta::test::browserCropObservations;
using kesta::test::browserLines;
using kesta::test::BrowserRow;
using kesta::test::libraryOf;
using kesta::test::libraryTrack;

const Track kStrobe = libraryTrack("1", "Strobe", "deadmau5", "8A", 128, 637);
const Track kLevels = libraryTrack("9", "Levels", "Avicii", "5A", 126, 199);
constexpr std::int32_t kRekordboxPid = 42;
constexpr std::uint32_t kWindow = 5;

// rekordbox in front, its browser showing two rows, one of them the track.
struct LoaderRig {
  LoaderRig() {
    windows->list.push_back({.id = kWindow,
                             .instanceName = "rekordbox",
                             .className = "rekordbox",
                             .pid = kRekordboxPid,
                             .frame = {100, 50, 1400, 900},
                             .viewable = true});
    const auto shown = browserLines({BrowserRow{"Levels", "Avicii", "126.00", "5A", "3:19"},
                                     BrowserRow{"Strobe", "deadmau5", "128.00", "8A", "10:37"}});
    recognizer->answer([shown](const Image&, const RecognitionRequest& request) {
      if (request.level == RecognitionLevel::fast) return std::vector<TextObservation>{};
      return browserCropObservations(shown);
    });
    input->front = kRekordboxPid;
    input->ownerOf = [](std::uint32_t window) {
      return window == kWindow ? std::optional<std::int32_t>(kRekordboxPid) : std::nullopt;
    };
  }

  // Waits pass in virtual time, each with a short real pause so that the load
  // takes long enough for the main thread to act meanwhile.
  std::shared_ptr<TrackLoading> loader() {
    return std::make_shared<RekordboxLoader>(
        RekordboxLoader::Parts{.windows = windows,
                               .input = input,
                               .clipboard = clipboard,
                               .recognizer = recognizer,
                               .timing = {.now = [this] { return nowMs.load() / 1000.0; },
                                          .sleep =
                                              [this](std::stop_token, double seconds) {
                                                nowMs += std::llround(seconds * 1000);
                                                std::this_thread::sleep_for(std::chrono::milliseconds(2));
                                              }}});
  }

  std::shared_ptr<FakeWindowSystem> windows = std::make_shared<FakeWindowSystem>();
  std::shared_ptr<FakeInputSystem> input = std::make_shared<FakeInputSystem>();
  std::shared_ptr<FakeClipboard> clipboard = std::make_shared<FakeClipboard>();
  std::shared_ptr<FakeTextRecognizer> recognizer = std::make_shared<FakeTextRecognizer>();
  std::atomic<long long> nowMs = 0;
  LibraryIndex index{libraryOf({kStrobe, kLevels})};
};

class LoaderWorkerTest : public ::testing::Test {
 protected:
  LoaderRig rig;
  std::shared_ptr<LoopMainQueue> queue = std::make_shared<LoopMainQueue>();
  const std::thread::id mainThread = std::this_thread::get_id();
};

TEST_F(LoaderWorkerTest, LoadsOnTheWorkerWhileTheMainThreadServesItsQueue) {
  struct Row {
    const char* name;
    std::optional<std::string> safety;  // the re-check's answer
    LoadOutcome expected;
  };
  const Row rows[] = {
      {"safe", std::nullopt, {1, std::nullopt}},
      {"becameUnsafe",
       "Deck 2 started playing.",
       {0, LoadFailure{LoadError::becameUnsafe("Deck 2 started playing."),
                       "Stopped before loading: Deck 2 started playing."}}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    LoaderWorker worker(rig.loader(), queue);
    int checks = 0;
    int authorizedChecks = 0;
    bool checkedOnMainThread = true;
    std::optional<LoadOutcome> outcome;
    worker.load(
        kStrobe, 2, rig.index,
        [&](LoaderPort::Answer answer) {
          ++checks;
          checkedOnMainThread = checkedOnMainThread && std::this_thread::get_id() == mainThread;
          EXPECT_TRUE(worker.isAuthorized());  // the load is still running on the worker
          answer(row.safety);
        },
        [&](LoadOutcome done) { outcome = std::move(done); });
    ASSERT_TRUE(queue->serveUntil([&] {
      authorizedChecks += worker.isAuthorized() ? 1 : 0;
      return outcome.has_value();
    }));
    EXPECT_EQ(checks, 1);
    EXPECT_TRUE(checkedOnMainThread);
    EXPECT_GT(authorizedChecks, 0);
    EXPECT_EQ(outcome->attempt, row.expected.attempt);
    ASSERT_EQ(outcome->failure.has_value(), row.expected.failure.has_value());
    if (outcome->failure) {
      EXPECT_EQ(outcome->failure->error, row.expected.failure->error);
      EXPECT_EQ(outcome->failure->description, row.expected.failure->description);
    }
  }
}

TEST_F(LoaderWorkerTest, UndoAnswersOnTheMainThread) {
  LoaderWorker worker(rig.loader(), queue);
  std::optional<std::optional<LoadFailure>> result;
  worker.undoLastLoad([&](std::optional<LoadFailure> failure) {
    EXPECT_EQ(std::this_thread::get_id(), mainThread);
    result = std::move(failure);
  });
  ASSERT_TRUE(queue->serveUntil([&] { return result.has_value(); }));
  EXPECT_EQ(*result, std::nullopt);
}

TEST_F(LoaderWorkerTest, GoingAwayDuringALoadEndsIt) {
  std::optional<LoadOutcome> outcome;
  {
    LoaderWorker worker(rig.loader(), queue);
    worker.load(
        kStrobe, 2, rig.index, [](LoaderPort::Answer) {}, [&](LoadOutcome done) { outcome = done; });
    ASSERT_TRUE(queue->waitForWork());  // the re-check is asked and never answered
  }
  queue->drain();
  ASSERT_TRUE(outcome);
  ASSERT_TRUE(outcome->failure && outcome->failure->error);
  EXPECT_EQ(outcome->failure->error->kind(), LoadError::Case::becameUnsafe);
}

}  // namespace
}  // namespace kesta::test
