// How fast the matching key of a title is made: every recognised line and every
// library title goes through it.
#include <benchmark/benchmark.h>

#include <random>
#include <string>
#include <vector>

#include "library/text_tools.h"

namespace {

// 50,000 titles shaped like a DJ's collection: mostly ASCII with mix names in
// brackets, some accented, a few Cyrillic, Greek and Japanese.
std::vector<std::string> realisticTitles() {
  const std::vector<std::string> words = {"Deep",  "Night", "Shadow", "Love",   "Dance", "Floor",
                                          "Rise",  "Gold",  "Echo",   "Signal", "Lost",  "Summer",
                                          "Drive", "Fire",  "Dream",  "Pulse"};
  const std::vector<std::string> mixes = {" (Original Mix)", " (Extended Mix)", " - Radio Edit",
                                          " (Dub)",          " [Remix]",        ""};
  const std::vector<std::string> accented = {"Café del Mar", "Ñoño Beyoncé", "Über Straße", "Déjà Vu",
                                             "Señorita"};
  const std::vector<std::string> foreign = {"Тёмная Ночь", "Αθήνα Νύχτα", "東京ナイト",
                                            "Ｆｕｌｌ Ｗｉｄｔｈ"};
  std::mt19937 random(2026);
  std::vector<std::string> titles;
  titles.reserve(50'000);
  for (int i = 0; i < 50'000; ++i) {
    const auto roll = random() % 100;
    std::string title;
    if (roll < 10) {
      title = accented[random() % accented.size()];
    } else if (roll < 13) {
      title = foreign[random() % foreign.size()];
    } else {
      const auto count = 1 + random() % 3;
      for (unsigned w = 0; w < count; ++w) title += (w ? " " : "") + words[random() % words.size()];
    }
    titles.push_back(title + mixes[random() % mixes.size()]);
  }
  return titles;
}

void BM_NormalizedTitles(benchmark::State& state) {
  const auto titles = realisticTitles();
  for (auto _ : state) {
    for (const auto& title : titles) benchmark::DoNotOptimize(kesta::TextTools::normalized(title));
  }
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(titles.size()));
  state.counters["ns_per_title"] =
      benchmark::Counter(static_cast<double>(state.iterations() * titles.size()),
                         benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_NormalizedTitles)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace

BENCHMARK_MAIN();
