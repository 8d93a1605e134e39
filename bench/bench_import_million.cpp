// A million-track export from the user's pick to its library installed in the
// app model and kept in "library.json": the time, the peak resident memory of
// the whole (per track), and the longest task the main thread ran meanwhile,
// which is the longest the window stood still.
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
#include "peak_memory.h"

namespace {

namespace fs = std::filesystem;
using namespace kesta::model;
using namespace kesta::test;

constexpr std::size_t kMillion = 1'000'000;

// Written once and kept between runs: the generator gives the same bytes.
fs::path millionFile() {
  const fs::path file = fs::temp_directory_path() / "kesta-bench-collection-1000000.xml";
  std::error_code error;
  if (fs::file_size(file, error) == 0 || error) {
    const std::string xml = kesta::bench::generateCollection(kMillion);
    std::ofstream(file, std::ios::binary).write(xml.data(), static_cast<std::streamsize>(xml.size()));
  }
  return file;
}

void BM_ImportAndInstallMillion(benchmark::State& state) {
  const fs::path xml = millionFile();
  const fs::path folder = kesta::bench::freshFolder("million");
  auto queue = std::make_shared<kesta::bench::WaitingMainQueue>();
  auto panels = std::make_shared<FakePanels>();
  FakeMainQueue engineQueue;
  double stallMs = 0;
  std::size_t tracks = 0;
  for (auto _ : state) {
    kesta::bench::resetPeakMemory();
    {
      auto executor = std::make_shared<kesta::bench::ThreadExecutor>();
      auto monotonic = std::make_shared<FakeMonotonicClock>();
      auto wall = std::make_shared<FakeWallClock>();
      auto model = AppModel::create(
          ModelPorts{std::make_shared<kesta::AppStore>(folder / "data"), queue,
                     std::make_shared<FakeScheduler>(monotonic.get(), wall.get()), executor, monotonic, wall,
                     std::make_shared<FakeEngineFactory>(engineQueue), std::make_shared<FakeLoader>(),
                     std::make_shared<FakeKeyPreset>(), std::make_shared<FakeScreenAccess>(),
                     std::make_shared<FakeRekordboxApp>(), std::make_shared<FakeUrlOpener>(), panels,
                     std::make_shared<FakeRelauncher>(), std::make_shared<FakeClickThrough>(),
                     std::make_shared<FakeDayFormatter>(), std::make_shared<FakeImageEncoder>()});
      queue->serveUntil([&] { return model->libraryState() == LibraryState::none(); });
      queue->takeLongestMilliseconds();

      panels->answers.push_back(xml);
      const auto start = std::chrono::steady_clock::now();
      model->chooseLibraryFile();
      queue->serveUntil([&] { return model->libraryState() == LibraryState::ready(); });
      state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
      stallMs = queue->takeLongestMilliseconds();
      tracks = model->library().tracks.size();
      if (tracks == 0) state.SkipWithError("the library was not installed");
      // The executor joins the import job, which writes "library.json" after the install.
      model.reset();
      queue->serveUntil([] { return true; });
    }
    std::error_code error;
    state.counters["library_json_MB"] =
        static_cast<double>(fs::file_size(folder / "data" / "library.json", error)) / 1e6;
  }
  const double peak = kesta::bench::peakMegabytes();
  state.counters["tracks"] = static_cast<double>(tracks);
  state.counters["peak_rss_MB"] = peak;
  state.counters["peak_bytes_per_track"] = peak * 1024 * 1024 / static_cast<double>(kMillion);
  state.counters["longest_main_task_ms"] = stallMs;
  std::error_code ignored;
  fs::remove_all(folder, ignored);
}
BENCHMARK(BM_ImportAndInstallMillion)->Unit(benchmark::kSecond)->UseManualTime()->Iterations(1);

}  // namespace
