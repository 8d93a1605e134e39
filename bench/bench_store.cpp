// How long "library.json" takes to save and to load for a 50,000-track
// collection, through the data folder as the app uses it: the save includes
// the flush to the disk, the load the whole decoding.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <string>

#include "collection_generator.h"
#include "library/rekordbox_xml_importer.h"
#include "store/app_store.h"

namespace {

constexpr std::size_t kTracks = 50'000;

const kesta::StoredLibrary& storedLibrary() {
  static const kesta::StoredLibrary stored{
      kesta::RekordboxXMLImporter::importLibrary(kesta::bench::generateCollection(kTracks), "rekordbox.xml",
                                                 kesta::Date{700000000}),
      "/Users/dj/Music/rekordbox.xml", kesta::Date{699999000.5}};
  return stored;
}

// A data folder of its own, removed at the end.
class BenchFolder {
 public:
  BenchFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "kesta-bench-store-XXXXXX").string();
    path_ = ::mkdtemp(pattern.data()) ? std::filesystem::path(pattern)
                                      : std::filesystem::temp_directory_path() / "kesta-bench-store";
  }
  ~BenchFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

void BM_SaveLibrary(benchmark::State& state) {
  const auto& stored = storedLibrary();
  const BenchFolder folder;
  const kesta::AppStore store(folder.path());
  for (auto _ : state) store.saveLibrary(stored);
  state.counters["tracks"] = static_cast<double>(stored.library.tracks.size());
  state.counters["MB"] =
      static_cast<double>(std::filesystem::file_size(folder.path() / "library.json")) / 1e6;
}
BENCHMARK(BM_SaveLibrary)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_LoadLibrary(benchmark::State& state) {
  const BenchFolder folder;
  const kesta::AppStore store(folder.path());
  store.saveLibrary(storedLibrary());
  for (auto _ : state) {
    auto loaded = store.storedLibrary();
    if (!loaded || loaded->library.tracks.size() != storedLibrary().library.tracks.size()) {
      state.SkipWithError("the library did not load whole");
      break;
    }
    benchmark::DoNotOptimize(loaded);
  }
}
BENCHMARK(BM_LoadLibrary)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace

BENCHMARK_MAIN();
