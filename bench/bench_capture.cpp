// What turning a captured window into RGBA costs: it runs on the scan thread
// four times a second over the whole rekordbox window (1600 × 1000 here).
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "platform/x11/z_pixmap.h"

namespace {

void convertWindow(benchmark::State& state) {
  constexpr int width = 1600;
  constexpr int height = 1000;
  std::vector<std::uint8_t> pixels(std::size_t(width) * height * 4);
  for (std::size_t i = 0; i < pixels.size(); ++i) pixels[i] = std::uint8_t(i * 31);
  for (auto _ : state) {
    auto image =
        kesta::zPixmapToRgba(pixels.data(), std::size_t(width) * 4, width, height, {16, 8, 0}, false);
    benchmark::DoNotOptimize(image);
  }
}
BENCHMARK(convertWindow)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
