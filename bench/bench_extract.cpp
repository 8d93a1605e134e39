// The deck text extractor's common path: a deck whose title area is unchanged
// since its anchored reading, within the forced refresh, costs a fingerprint
// and no recognition. Measured on a real capture of the stand-in rekordbox
// window (1600 × 1000 on a private Xvfb).

#include <benchmark/benchmark.h>

#include <iostream>
#include <memory>

#include "platform/ocr/single_threaded_recognition.h"
#include "platform/ocr/tesseract_recognizer.h"
#include "platform/time/clock.h"
#include "platform/x11/x11_window_system.h"
#include "reading/deck_text_extractor.h"
#include "reading/reading_fixtures.h"
#include "reading/screen_capture_source.h"
#include "reading/screen_permission.h"
#include "support/standin_rekordbox.h"
#include "support/xvfb_server.h"

namespace {

using namespace kesta;

// Reads the deck accurately once and anchors it as the engine would.
void anchorDeck(DeckTextExtractor& extractor, const Image& frame, const LibraryIndex& index, const char* id,
                const std::string& title) {
  const auto first = extractor.extract(frame, 1, index, 0.0);
  const auto* track = first.observation.reading.as<DeckReading::Track>();
  if (!track || track->id != id) throw std::runtime_error("the deck was not read as its track");
  extractor.anchor(1, frame, first, false, title);
}

void unchangedDeck(benchmark::State& state, const Image& frame, const LibraryIndex& index) {
  DeckTextExtractor extractor(std::make_shared<TesseractRecognizer>());
  anchorDeck(extractor, frame, index, "1", "Midnight City");
  for (auto _ : state) {
    const auto extraction = extractor.extract(frame, 1, index, 0.5);
    if (extraction.ocrRan || extraction.observation.rule != "unchanged-skip") {
      state.SkipWithError("the unchanged deck was recognised");
      break;
    }
    benchmark::DoNotOptimize(extraction);
  }
}

}  // namespace

int main(int argc, char** argv) {
  requireSingleThreadedRecognition(argv);
  benchmark::Initialize(&argc, argv);

  test::XvfbServer server;
  test::StandInRekordbox window(server.display());
  window.load(1, {{"title", "Midnight City"},
                  {"artist", "M83"},
                  {"bpm", "126.00"},
                  {"key", "8A"},
                  {"duration", 412},
                  {"elapsed", 201.4}});
  ScreenCaptureSource source(std::make_shared<X11WindowSystem>(server.display()), Clock::now,
                             ScreenPermission::granted);
  std::cout << source.connect() << "\n";
  const Image frame = source.capture();
  const LibraryIndex index(test::libraryOf(
      {test::libraryTrack("1", "Midnight City", "M83"), test::libraryTrack("2", "Opus", "Eric Prydz")}));

  benchmark::RegisterBenchmark("extract_unchanged_deck",
                               [&](benchmark::State& s) { unchangedDeck(s, frame, index); })
      ->Unit(benchmark::kMicrosecond)
      ->Repetitions(5)
      ->ReportAggregatesOnly(true);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
