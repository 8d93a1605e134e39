// From the user's pick of a large collection export to its library installed
// in the app model and the new index handed to the engine: the import, the
// save of "library.json" and the preparing run on a background thread, the
// install on a main thread that serves its queue, as in the application.
#include <benchmark/benchmark.h>

#include <chrono>
#include <condition_variable>
#include <deque>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <mutex>
#include <random>
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
#include "model/app_model.h"

namespace {

namespace fs = std::filesystem;
using namespace kesta::model;
using namespace kesta::model::testing;

constexpr std::size_t kTracks = 50'000;

// Each job on a thread of its own, joined when the executor goes.
class ThreadExecutor : public BackgroundExecutor {
 public:
  void run(std::function<void()> job) override {
    const std::lock_guard lock(mutex_);
    threads_.emplace_back(std::move(job));
  }

 private:
  std::mutex mutex_;
  std::vector<std::jthread> threads_;
};

// The benchmark's thread serves as the main thread: it runs posted work as it
// arrives and waits for more in between.
class WaitingMainQueue : public MainQueue {
 public:
  void post(std::function<void()> task) override {
    {
      const std::lock_guard lock(mutex_);
      tasks_.push_back(std::move(task));
    }
    arrived_.notify_one();
  }

  // Serves the queue until `done` holds and nothing is left to run.
  void serveUntil(const std::function<bool()>& done) {
    for (;;) {
      std::unique_lock lock(mutex_);
      if (tasks_.empty() && done()) return;
      arrived_.wait(lock, [&] { return !tasks_.empty(); });
      auto task = std::move(tasks_.front());
      tasks_.pop_front();
      lock.unlock();
      task();
    }
  }

 private:
  std::mutex mutex_;
  std::condition_variable arrived_;
  std::deque<std::function<void()>> tasks_;
};

fs::path freshFolder(const std::string& name) {
  std::random_device random;
  const fs::path folder =
      fs::temp_directory_path() / ("kesta-bench-" + name + "-" + std::to_string(random()));
  fs::create_directories(folder);
  return folder;
}

void BM_PickToInstalled(benchmark::State& state) {
  const fs::path folder = freshFolder("model-import");
  const fs::path xml = folder / "collection.xml";
  {
    const std::string text = kesta::bench::generateCollection(kTracks);
    std::ofstream(xml, std::ios::binary).write(text.data(), static_cast<std::streamsize>(text.size()));
  }
  auto fakeQueue = std::make_unique<FakeMainQueue>();
  auto queue = std::make_shared<WaitingMainQueue>();
  auto panels = std::make_shared<FakePanels>();
  auto monotonic = std::make_shared<FakeMonotonicClock>();
  auto wall = std::make_shared<FakeWallClock>();
  {
    auto model = AppModel::create(ModelPorts{
        std::make_shared<kesta::AppStore>(folder / "data"), queue,
        std::make_shared<FakeScheduler>(monotonic.get(), wall.get()), std::make_shared<ThreadExecutor>(),
        monotonic, wall, std::make_shared<FakeEngineFactory>(*fakeQueue), std::make_shared<FakeLoader>(),
        std::make_shared<FakeKeyPreset>(), std::make_shared<FakeScreenAccess>(),
        std::make_shared<FakeRekordboxApp>(), std::make_shared<FakeUrlOpener>(), panels,
        std::make_shared<FakeRelauncher>(), std::make_shared<FakeClickThrough>(),
        std::make_shared<FakeDayFormatter>(), std::make_shared<FakeImageEncoder>()});
    queue->serveUntil([&] { return model->libraryState() == LibraryState::none(); });

    for (auto _ : state) {
      panels->answers.push_back(xml);
      const auto start = std::chrono::steady_clock::now();
      model->chooseLibraryFile();
      queue->serveUntil([&] { return model->libraryState() == LibraryState::ready(); });
      const auto end = std::chrono::steady_clock::now();
      state.SetIterationTime(std::chrono::duration<double>(end - start).count());
      if (model->library().isEmpty()) state.SkipWithError("the library was not installed");
    }
    state.counters["tracks"] = static_cast<double>(model->library().tracks.size());
  }
  std::error_code ignored;
  fs::remove_all(folder, ignored);
}
BENCHMARK(BM_PickToInstalled)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(3)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

}  // namespace

BENCHMARK_MAIN();
