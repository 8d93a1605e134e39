// Text recognition of one deck area and the capture of the window it comes
// from: the stand-in rekordbox window at 1600 × 1000 on a private Xvfb, one
// thread, OMP_THREAD_LIMIT=1.

#include <benchmark/benchmark.h>

#include <iostream>
#include <memory>

#include "library/clock.h"
#include "platform/ocr/single_threaded_recognition.h"
#include "platform/ocr/tesseract_recognizer.h"
#include "platform/x11/x11_window_system.h"
#include "reading/deck_layout.h"
#include "reading/screen_capture_source.h"
#include "reading/screen_permission.h"
#include "reading/text_recognition.h"
#include "support/standin_rekordbox.h"
#include "support/xvfb_server.h"

namespace {

using namespace kesta;

void capture(benchmark::State& state, ScreenCaptureSource& source) {
  for (auto _ : state) benchmark::DoNotOptimize(source.capture());
}

void recognize(benchmark::State& state, const Image& crop, RecognitionLevel level) {
  TesseractRecognizer recognizer;
  TextRecognition::recognize(recognizer, crop, 0.02f, level,
                             RecognitionLanguages::english);  // the engine starts once per thread
  for (auto _ : state)
    benchmark::DoNotOptimize(
        TextRecognition::recognize(recognizer, crop, 0.02f, level, RecognitionLanguages::english));
}

}  // namespace

int main(int argc, char** argv) {
  requireSingleThreadedRecognition(argv);
  benchmark::Initialize(&argc, argv);

  testing::XvfbServer server;
  testing::StandInRekordbox window(server.display());
  window.load(1, {{"title", "Midnight City (Eric Prydz Private Remix)"},
                  {"artist", "M83"},
                  {"bpm", "126.00"},
                  {"key", "8A"},
                  {"duration", 412},
                  {"elapsed", 201.4}});
  window.load(
      2, {{"title", "Opus (Four Tet Remix)"}, {"artist", "Eric Prydz"}, {"bpm", "126.00"}, {"key", "3A"}});
  ScreenCaptureSource source(std::make_shared<X11WindowSystem>(server.display()), Clock::now,
                             ScreenPermission::granted);
  std::cout << source.connect() << "\n";
  const Image frame = source.capture();
  const Image crop = *frame.cropped(DeckLayout().deck1.scaledTo(frame.size()));

  const auto milliseconds = [](benchmark::internal::Benchmark* b) {
    b->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
  };
  milliseconds(benchmark::RegisterBenchmark("capture_window_1600x1000",
                                            [&](benchmark::State& s) { capture(s, source); }));
  milliseconds(benchmark::RegisterBenchmark("recognize_deck_accurate", [&](benchmark::State& s) {
    recognize(s, crop, RecognitionLevel::accurate);
  }));
  milliseconds(benchmark::RegisterBenchmark(
      "recognize_deck_fast", [&](benchmark::State& s) { recognize(s, crop, RecognitionLevel::fast); }));
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
