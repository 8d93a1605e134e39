// From a new focus applied by the app model to its lanes published, over a
// 50,000-track pool: the request built on the main thread, the recommender on
// a worker thread, the result handed back through the main queue. Goal:
// ≤ 15 ms median (the recommender alone takes about 6 ms).
#include <benchmark/benchmark.h>

#include <chrono>
#include <condition_variable>
#include <deque>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "collection_generator.h"
#include "fakes/fake_click_through.h"
#include "fakes/fake_clocks.h"
#include "fakes/fake_day_formatter.h"
#include "fakes/fake_engine.h"
#include "fakes/fake_image_encoder.h"
#include "fakes/fake_key_preset.h"
#include "fakes/fake_loader.h"
#include "fakes/fake_main_queue.h"
#include "fakes/fake_panels.h"
#include "fakes/fake_rekordbox_app.h"
#include "fakes/fake_relauncher.h"
#include "fakes/fake_scheduler.h"
#include "fakes/fake_screen_access.h"
#include "fakes/fake_url_opener.h"
#include "library/rekordbox_xml_importer.h"
#include "model/app_model.h"
#include "platform/time/clock.h"
#include "ranking_probe.h"

namespace {

using namespace kesta;
using namespace kesta::model;
using Instant = std::chrono::steady_clock::time_point;

// Worker threads that take jobs as they come, as the application's pool does.
class ThreadExecutor : public BackgroundExecutor {
 public:
  explicit ThreadExecutor(int threads) {
    for (int i = 0; i < threads; ++i) workers_.emplace_back([this](std::stop_token stop) { work(stop); });
  }
  ~ThreadExecutor() override {
    for (auto& worker : workers_) worker.request_stop();
    ready_.notify_all();
  }
  void run(std::function<void()> job) override {
    {
      const std::lock_guard lock(mutex_);
      jobs_.push_back(std::move(job));
    }
    ready_.notify_one();
  }

 private:
  void work(std::stop_token stop) {
    while (true) {
      std::function<void()> job;
      {
        std::unique_lock lock(mutex_);
        if (!ready_.wait(lock, stop, [this] { return !jobs_.empty(); })) return;
        job = std::move(jobs_.front());
        jobs_.pop_front();
      }
      job();
    }
  }

  std::mutex mutex_;
  std::condition_variable_any ready_;
  std::deque<std::function<void()>> jobs_;
  std::vector<std::jthread> workers_;  // last: they start once the rest exists
};

// The benchmark's thread plays the main thread: it waits for posted work.
class WaitingMainQueue : public MainQueue {
 public:
  void post(std::function<void()> task) override {
    {
      const std::lock_guard lock(mutex_);
      tasks_.push_back(std::move(task));
    }
    ready_.notify_one();
  }
  void runOne() {
    std::function<void()> task;
    {
      std::unique_lock lock(mutex_);
      ready_.wait(lock, [this] { return !tasks_.empty(); });
      task = std::move(tasks_.front());
      tasks_.pop_front();
    }
    task();
  }

 private:
  std::mutex mutex_;
  std::condition_variable ready_;
  std::deque<std::function<void()>> tasks_;
};

class SystemClock : public MonotonicClock {
 public:
  double now() const override { return Clock::now(); }
};

// The generated collection, with the stars of 300 tracks rated as a DJ would.
struct Setup {
  std::filesystem::path folder = std::filesystem::temp_directory_path() / "kesta-bench-focus-to-lanes";
  std::shared_ptr<AppStore> store;
  std::shared_ptr<WaitingMainQueue> queue = std::make_shared<WaitingMainQueue>();
  test::FakeMainQueue unusedQueue;
  std::shared_ptr<AppModel> model;
  std::vector<std::string> trackIDs;  // suggestible tracks to follow in turn

  Setup() {
    std::filesystem::remove_all(folder);
    store = std::make_shared<AppStore>(folder);
    Library library =
        RekordboxXMLImporter::importLibrary(bench::generateCollection(50'000), "collection.xml");
    UserData userData;
    for (std::size_t i = 0; i < library.tracks.size(); i += library.tracks.size() / 300)
      userData.ratings[library.tracks[i].key.raw] = 1 + static_cast<int>(i % 5);
    store->saveUserData(userData);
    for (const Track& track : library.tracks) {
      if (track.isRecommendable() && trackIDs.size() < 64) trackIDs.push_back(track.id);
    }
    model = AppModel::create(
        ModelPorts{store, queue, std::make_shared<test::FakeScheduler>(), std::make_shared<ThreadExecutor>(2),
                   std::make_shared<SystemClock>(), std::make_shared<test::FakeWallClock>(),
                   std::make_shared<test::FakeEngineFactory>(unusedQueue),
                   std::make_shared<test::FakeLoader>(), std::make_shared<test::FakeKeyPreset>(),
                   std::make_shared<test::FakeScreenAccess>(), std::make_shared<test::FakeRekordboxApp>(),
                   std::make_shared<test::FakeUrlOpener>(), std::make_shared<test::FakePanels>(),
                   std::make_shared<test::FakeRelauncher>(), std::make_shared<test::FakeClickThrough>(),
                   std::make_shared<test::FakeDayFormatter>(), std::make_shared<test::FakeImageEncoder>()});
    RankingProbe::install(*model, std::move(library));
  }
  ~Setup() {
    model.reset();
    store.reset();
    std::filesystem::remove_all(folder);
  }
};

void BM_FocusToLanes(benchmark::State& state) {
  Setup setup;
  AppModel& model = *setup.model;
  Instant publishedAt;
  bool published = false;
  model.addListener([&](ChangedFields fields) {
    if (fields.contains(Field::lanes) && !model.lanes().empty()) {
      publishedAt = std::chrono::steady_clock::now();
      published = true;
    }
  });
  std::uint64_t seq = 0;
  const auto focusNext = [&] {
    RankingProbe::setDeck(model, 1, DeckContent::track(setup.trackIDs[seq % setup.trackIDs.size()]));
    published = false;
    const Instant start = std::chrono::steady_clock::now();
    RankingProbe::focus(model, 1, ++seq);
    while (!published) setup.queue->runOne();
    return std::chrono::duration<double>(publishedAt - start).count();
  };
  focusNext();  // prepares the pool, once per library and pool choice
  for (auto _ : state) {
    state.SetIterationTime(focusNext());
    // A set of a few hundred events, as in a long night, not one that grows without end.
    if (seq % 100 == 0) {
      RankingProbe::setDeck(model, 1, DeckContent::empty());
      RankingProbe::focus(model, 1, ++seq);
      model.endSet();
    }
  }
}
BENCHMARK(BM_FocusToLanes)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

}  // namespace

BENCHMARK_MAIN();
