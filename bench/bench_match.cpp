// How fast a library index is built and how fast one deck's recognised lines
// are matched against it: the index is rebuilt on every import, and matching
// runs for both decks on every scan in which text recognition ran.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

#include "collection_generator.h"
#include "library/rekordbox_xml_importer.h"
#include "reading/library_index.h"
#include "reading/track_matcher.h"

namespace {

constexpr std::size_t kTracks = 50'000;

const std::shared_ptr<const kesta::Library>& sharedLibrary() {
  static const auto shared = std::make_shared<const kesta::Library>(
      kesta::RekordboxXMLImporter::importLibrary(kesta::bench::generateCollection(kTracks), "rekordbox.xml"));
  return shared;
}

const kesta::Library& library() { return *sharedLibrary(); }

const kesta::LibraryIndex& index() {
  static const kesta::LibraryIndex shared(sharedLibrary());
  return shared;
}

template <class Source>
void buildIndex(benchmark::State& state, const Source& source) {
  for (auto _ : state) {
    auto built = std::make_unique<kesta::LibraryIndex>(source);
    benchmark::DoNotOptimize(built.get());
    // Dropping the old index is not part of building the new one.
    state.PauseTiming();
    built.reset();
    state.ResumeTiming();
  }
  state.counters["tracks"] = static_cast<double>(index().trackCount());
  state.counters["titles"] = static_cast<double>(index().allTitles().size());
}

// The app model's way: the index shares the library it was built from.
void BM_IndexBuildShared(benchmark::State& state) { buildIndex(state, sharedLibrary()); }
// From a library the caller keeps: the index takes its own copy.
void BM_IndexBuildCopying(benchmark::State& state) { buildIndex(state, library()); }
BENCHMARK(BM_IndexBuildShared)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_IndexBuildCopying)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

// The first titled track whose title has at least `minimum` characters, from
// a fixed position on, so each case reads one fixed track.
const kesta::Track& trackFrom(std::size_t position, std::size_t minimum) {
  const auto& tracks = library().tracks;
  for (std::size_t i = position; i < tracks.size(); ++i)
    if (tracks[i].hasTitle() && tracks[i].title.size() >= minimum) return tracks[i];
  return tracks.front();
}

// A six-line deck area: title, artist, BPM, key, remaining time, a label.
std::vector<std::string> deck(std::string title, std::string artist) {
  return {std::move(title), std::move(artist), "128.00", "8A", "-3:45.2", "MASTER"};
}

void runMatch(benchmark::State& state, const std::vector<std::string>& lines) {
  const auto& shared = index();
  for (auto _ : state) benchmark::DoNotOptimize(kesta::TrackMatcher::match(lines, shared));
  const auto result = kesta::TrackMatcher::match(lines, shared);
  state.SetLabel(result.rule + " " + result.reading.kind());
}

void BM_MatchExactHit(benchmark::State& state) {
  const auto& track = trackFrom(12'345, 8);
  runMatch(state, deck(track.title, track.artist));
}

void BM_MatchCutTitle(benchmark::State& state) {
  const auto& track = trackFrom(23'456, 16);
  runMatch(state, deck(track.title.substr(0, track.title.size() - 5) + "…", track.artist));
}

void BM_MatchOneRecognitionError(benchmark::State& state) {
  const auto& track = trackFrom(34'567, 12);
  std::string misread = track.title;
  char& letter = misread[misread.size() / 2];
  letter = letter == 'o' ? '0' : 'o';
  runMatch(state, deck(misread, track.artist));
}

void BM_MatchNoMatch(benchmark::State& state) {
  runMatch(state, deck("Completely Unknown Anthem (Bootleg)", "Nobody In Particular"));
}

BENCHMARK(BM_MatchExactHit)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_MatchCutTitle)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_MatchOneRecognitionError)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_MatchNoMatch)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace

BENCHMARK_MAIN();
