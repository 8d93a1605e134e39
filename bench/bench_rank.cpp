// How long one ranking takes over a large pool: the app model runs it after
// every change of focus, and the DJ waits for the lanes. Goal: ≤ 25 ms median
// for 50,000 tracks.
#include <benchmark/benchmark.h>

#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "library/text_tools.h"
#include "suggest/recommender.h"

namespace {

using kesta::MusicalKey;
using kesta::RecommendationRequest;
using kesta::StableKey;
using kesta::Track;

// A collection shaped like a DJ's: tempos clustered around house and techno
// with some drum and bass and hip-hop, most tracks with a key, about half
// with an energy tag, some accented or non-Latin names, and a few duplicate
// entries of one song.
std::vector<Track> realisticPool(std::size_t count) {
  const std::vector<std::string> words = {
      "Deep",   "Night",  "Shadow", "Love",   "Dance",   "Floor",  "Rise",   "Gold",   "Echo",
      "Signal", "Lost",   "Summer", "Drive",  "Fire",    "Dream",  "Pulse",  "City",   "Light",
      "Heart",  "Motion", "Ocean",  "Static", "Velvet",  "Neon",   "Storm",  "Silver", "Garden",
      "Orbit",  "Rain",   "Mirror", "Voices", "Tokyo",   "Berlin", "Sunset", "Wild",   "Higher",
      "Fever",  "Ghost",  "Magic",  "Dust",   "Crystal", "Horizon"};
  const std::vector<std::string> mixes = {" (Original Mix)", " (Extended Mix)", " - Radio Edit", " (Dub)",
                                          ""};
  const std::vector<std::string> accented = {"Café",        "Déjà Vu",    "Señorita",
                                             "Тёмная Ночь", "東京ナイト", "Über"};
  const std::vector<std::string> names = {"Solar",  "Mira",     "Oblong", "Émile", "Kōji",  "Nia",
                                          "Vektor", "Basswerk", "Lumen",  "Odd",   "Sable", "Tunde",
                                          "Kira",   "Lou",      "Marlo",  "Reyes"};
  const std::vector<std::string> genres = {"House",       "Tech House", "Techno", "Deep House",
                                           "Drum & Bass", "Hip-Hop",    ""};
  const std::vector<double> centres = {122, 124, 126, 128, 132, 174, 95};
  std::mt19937 random(2026);
  std::normal_distribution<double> spread(0.0, 1.5);
  std::vector<Track> pool;
  pool.reserve(count);
  for (std::size_t i = 0; i < count; ++i) {
    if (i > 0 && random() % 100 < 3) {  // a second entry of an earlier song
      Track copy = pool[random() % pool.size()];
      copy.id = std::to_string(i);
      copy.key = StableKey{"file:" + std::to_string(1'000'000'000 + i)};
      pool.push_back(copy);
      continue;
    }
    std::string title = random() % 100 < 8 ? accented[random() % accented.size()] + " " : "";
    for (unsigned w = 0, n = 2 + random() % 3; w < n; ++w)
      title += (w ? " " : "") + words[random() % words.size()];
    title += mixes[random() % mixes.size()];
    std::string artist = names[random() % names.size()] + " " + names[random() % names.size()];
    const double bpm = std::round((centres[random() % centres.size()] + spread(random)) * 100) / 100;
    std::optional<MusicalKey> key;
    if (random() % 10 != 0)
      key = MusicalKey::fromNumber(1 + static_cast<int>(random() % 12), random() % 2 == 0);
    std::optional<int> energy;
    if (random() % 2 == 0) energy = 1 + static_cast<int>(random() % 10);
    pool.push_back(Track{std::to_string(i), StableKey{"file:" + std::to_string(1'000'000'000 + i)},
                         kesta::Source::local(), title, artist, "", genres[random() % genres.size()], bpm,
                         key ? std::optional(key->camelot()) : std::nullopt, key, energy,
                         300 + static_cast<int>(random() % 200),
                         random() % 3 == 0 ? static_cast<int>(random() % 30) : 0,
                         static_cast<int>(random() % 6), 0, 0});
  }
  return pool;
}

RecommendationRequest realisticRequest(std::size_t poolSize) {
  RecommendationRequest request{.current = {}, .pool = realisticPool(poolSize)};
  request.current = request.pool[17];
  request.current.bpm = 126.0;
  request.current.musicalKey = MusicalKey::fromNumber(8, true);
  request.current.energy = 6;
  std::mt19937 random(7);
  for (int i = 0; i < 40; ++i) {
    const Track& used = request.pool[random() % request.pool.size()];
    request.excludedKeys.insert(used.key);
    request.excludedSongs.insert(used.songKey());
  }
  for (int i = 0; i < 8; ++i)
    request.recentArtists.push_back(
        kesta::TextTools::normalized(request.pool[random() % request.pool.size()].artist));
  for (int i = 0; i < 300; ++i) {
    const Track& rated = request.pool[random() % request.pool.size()];
    request.ratings[rated.key] = 1 + static_cast<int>(random() % 5);
    request.playedPairs[RecommendationRequest::pairKey(request.current.key, rated.key)] = 1;
  }
  return request;
}

void BM_Recommend(benchmark::State& state) {
  const RecommendationRequest request = realisticRequest(static_cast<std::size_t>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(kesta::Recommender::recommend(request));
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_Recommend)
    ->Arg(50'000)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

// Preparing the pool (song keys, genres) happens once per library and pool
// choice, not per ranking.
void BM_PreparePool(benchmark::State& state) {
  const std::vector<Track> tracks = realisticPool(static_cast<std::size_t>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(kesta::TrackPool(tracks));
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_PreparePool)
    ->Arg(50'000)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

}  // namespace

BENCHMARK_MAIN();
