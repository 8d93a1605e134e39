// From the user's pick of a large collection export to its library installed
// in the app model and the new index handed to the engine: the import, the
// save of "library.json" and the preparing run on a background thread, the
// install on a main thread that serves its queue, as in the application.
#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

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
#include "model_harness.h"

namespace {

namespace fs = std::filesystem;
using namespace kesta::model;
using namespace kesta::test;

constexpr std::size_t kTracks = 50'000;

using kesta::bench::freshFolder;
using kesta::bench::ThreadExecutor;
using kesta::bench::WaitingMainQueue;

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
