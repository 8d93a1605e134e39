// One scan of the live engine on the stand-in rekordbox window (1600 × 1000
// on a private Xvfb), capture included: with both decks unchanged (the common
// case, no recognition) and right after a load on one deck (that deck read
// accurately). The engine's clock starts each scan at the benchmark's virtual
// time, so the unchanged scans stay within the forced refresh; the window and
// capture run in real time.

#include <benchmark/benchmark.h>

#include <chrono>
#include <iostream>
#include <memory>

#include "live/percentiles.h"
#include "live/scripted_set.h"
#include "platform/ocr/single_threaded_recognition.h"
#include "platform/time/clock.h"
#include "support/xvfb_server.h"

namespace {

using namespace kesta;

struct Bench {
  test::XvfbServer server;
  test::StandInRekordbox window{server.display()};
  // The engine's time: the benchmark's virtual time at each scan's start,
  // running at the real rate within the scan so that its parts are timed.
  double virtualTime = 1000.0;
  std::shared_ptr<double> offset = std::make_shared<double>(0.0);
  std::shared_ptr<LiveEngine> engine;
  int nextTrack = 0;

  Bench() {
    window.load(1, test::shownTrack(test::setTrack("101"), 64));
    window.load(2, test::shownTrack(test::setTrack("102"), 8));
    LiveEngine::Parts parts;
    parts.source = std::make_unique<ScreenCaptureSource>(std::make_shared<X11WindowSystem>(server.display()),
                                                         Clock::now, ScreenPermission::granted);
    parts.recognizer = std::make_shared<TesseractRecognizer>();
    parts.index = LibraryIndex(test::setLibrary());
    parts.songKeys = LiveEngine::songKeysOf(parts.index);
    parts.timing = {.now = [o = offset] { return Clock::now() + *o; },
                    .sleep = [](std::stop_token, double) {}};
    engine = LiveEngine::create(std::move(parts));
    settle();
  }

  EngineUpdate scan(double step) {
    virtualTime += step;
    *offset = virtualTime - Clock::now();
    return engine->scanOnce(virtualTime);
  }

  // Scans a quarter second apart until neither deck needs recognition.
  void settle() {
    for (int i = 0; i < 80; ++i)
      if (scan(0.25).scan.ocrSkipped.size() == 2) return;
    throw std::runtime_error("the decks never settled");
  }

  // Puts the next library track on deck 2, other than the one it holds.
  void loadDeck2() {
    const auto& tracks = test::setTracks();
    const auto& track = tracks[std::size_t(2 + nextTrack++ % int(tracks.size() - 2))];
    window.load(2, test::shownTrack(track));
  }
};

double milliseconds(std::chrono::steady_clock::duration d) {
  return std::chrono::duration<double, std::milli>(d).count();
}

// Whole scans, and the medians of the parts the scan record times.
struct Samples {
  std::vector<double> scan, capture, ocr;

  void add(double scanMs, const ScanRecord& record) {
    scan.push_back(scanMs);
    capture.push_back(record.captureMs);
    ocr.push_back(record.ocrMs);
  }
};

void report(benchmark::State& state, Samples samples) {
  const Percentiles p(std::move(samples.scan));
  state.counters["p50_ms"] = p.p50;
  state.counters["p95_ms"] = p.p95;
  state.counters["max_ms"] = p.max;
  state.counters["capture_p50_ms"] = Percentiles(std::move(samples.capture)).p50;
  state.counters["ocr_p50_ms"] = Percentiles(std::move(samples.ocr)).p50;
}

void bothDecksUnchanged(benchmark::State& state, Bench& bench) {
  bench.settle();
  Samples samples;
  for (auto _ : state) {
    const auto t0 = std::chrono::steady_clock::now();
    const auto update = bench.scan(0.0005);
    samples.add(milliseconds(std::chrono::steady_clock::now() - t0), update.scan);
    if (update.scan.ocrSkipped.size() != 2) {
      state.SkipWithError("a deck was recognised");
      break;
    }
  }
  report(state, std::move(samples));
}

void scanAfterLoad(benchmark::State& state, Bench& bench) {
  Samples samples;
  for (auto _ : state) {
    state.PauseTiming();
    bench.settle();
    bench.loadDeck2();
    state.ResumeTiming();
    const auto t0 = std::chrono::steady_clock::now();
    const auto update = bench.scan(0.25);
    samples.add(milliseconds(std::chrono::steady_clock::now() - t0), update.scan);
    if (update.scan.deck2.ends_with("unchanged-skip")) {
      state.SkipWithError("the load was not seen");
      break;
    }
  }
  report(state, std::move(samples));
}

}  // namespace

int main(int argc, char** argv) {
  requireSingleThreadedRecognition(argv);
  benchmark::Initialize(&argc, argv);
  Bench bench;
  benchmark::RegisterBenchmark("scan_both_decks_unchanged",
                               [&](benchmark::State& s) { bothDecksUnchanged(s, bench); })
      ->Unit(benchmark::kMillisecond)
      ->UseRealTime()
      ->Iterations(200);
  benchmark::RegisterBenchmark("scan_after_load_on_one_deck",
                               [&](benchmark::State& s) { scanAfterLoad(s, bench); })
      ->Unit(benchmark::kMillisecond)
      ->UseRealTime()
      ->Iterations(20);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
