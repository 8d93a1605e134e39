// Text recognition of one deck area and the capture of the window it comes
// from: the stand-in rekordbox window at 1600 × 1000 on a private Xvfb, one
// thread, OMP_THREAD_LIMIT=1. A fast confirmation reads only the part of the
// deck area the anchor knows (the title lines down to the elapsed time);
// "_whole" reads the whole area at the fast level for comparison, "_latin"
// with the Latin-script model that a library with letters beyond English uses.

#include <benchmark/benchmark.h>

#include <iostream>
#include <memory>

#include "library/clock.h"
#include "platform/ocr/single_threaded_recognition.h"
#include "platform/ocr/tesseract_recognizer.h"
#include "platform/x11/x11_window_system.h"
#include "reading/deck_layout.h"
#include "reading/deck_text_extractor.h"
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

void recognize(benchmark::State& state, const Image& crop, float minimumTextHeight, RecognitionLevel level,
               RecognitionLanguages languages) {
  TesseractRecognizer recognizer;
  // The engine starts once per thread.
  TextRecognition::recognize(recognizer, crop, minimumTextHeight, level, languages);
  for (auto _ : state) {
    benchmark::DoNotOptimize(TextRecognition::recognize(recognizer, crop, minimumTextHeight, level, languages));
  }
}

// The part of deck 1's area that a fast confirmation reads, as the extractor
// finds it from an accurate reading.
Image fastPart(const Image& crop, const std::string& title, const std::string& artist) {
  TesseractRecognizer recognizer;
  const auto lines =
      TextRecognition::recognize(recognizer, crop, 0.02f, RecognitionLevel::accurate, RecognitionLanguages::english);
  Track track;
  track.title = title;
  track.artist = artist;
  const auto region = DeckTextExtractor::titleRegion(lines, track);
  std::optional<Rect> clockBox;
  for (const auto& line : lines) {
    if (!clockBox && TextRecognition::elapsedSeconds(line.text)) clockBox = line.box;
  }
  const auto area = region ? DeckTextExtractor::fastArea(*region, clockBox) : std::nullopt;
  if (!area) throw std::runtime_error("no fast area in the deck");
  return *crop.cropped(area->scaledTo(crop.size()));
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
  const Image part = fastPart(crop, "Midnight City (Eric Prydz Private Remix)", "M83");
  const float partHeight = 0.02f * float(crop.height()) / float(part.height());

  const auto milliseconds = [](benchmark::internal::Benchmark* b) {
    b->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
  };
  milliseconds(benchmark::RegisterBenchmark("capture_window_1600x1000",
                                            [&](benchmark::State& s) { capture(s, source); }));
  constexpr auto english = RecognitionLanguages::english;
  constexpr auto latin = RecognitionLanguages::latin;
  const struct {
    const char* name;
    const Image* image;
    float minimumTextHeight;
    RecognitionLevel level;
    RecognitionLanguages languages;
  } runs[] = {
      {"recognize_deck_accurate", &crop, 0.02f, RecognitionLevel::accurate, english},
      {"recognize_deck_fast", &part, partHeight, RecognitionLevel::fast, english},
      {"recognize_deck_fast_whole", &crop, 0.02f, RecognitionLevel::fast, english},
      {"recognize_deck_accurate_latin", &crop, 0.02f, RecognitionLevel::accurate, latin},
      {"recognize_deck_fast_latin", &part, partHeight, RecognitionLevel::fast, latin},
  };
  for (const auto& run : runs) {
    milliseconds(benchmark::RegisterBenchmark(run.name, [&run](benchmark::State& s) {
      recognize(s, *run.image, run.minimumTextHeight, run.level, run.languages);
    }));
  }
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
