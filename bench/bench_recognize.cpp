// Text recognition of one deck area and the capture of the window it comes
// from: the stand-in rekordbox window at 1600 × 1000 on a private Xvfb, one
// thread, OMP_THREAD_LIMIT=1. A fast confirmation reads only the parts of the
// deck area the anchor knows, the title lines and the elapsed time's line;
// "_whole" reads the whole area at the fast level for comparison, "_latin"
// with the Latin-script model that a library with letters beyond English uses,
// "_detect_<script>" a deck showing a title in that script with the languages
// a library in it calls for ("_detect_all": one holding every such script).
// Each reading is a first one, but for "_playing": a recogniser that read both
// decks a second earlier reads only what changed since.

#include <benchmark/benchmark.h>

#include <iostream>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "platform/ocr/single_threaded_recognition.h"
#include "platform/ocr/tesseract_recognizer.h"
#include "platform/time/clock.h"
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
  // The engine starts once per thread; a new recogniser remembers no earlier picture.
  TesseractRecognizer started;
  TextRecognition::recognize(started, crop, minimumTextHeight, level, languages);
  for (auto _ : state) {
    TesseractRecognizer recognizer;
    benchmark::DoNotOptimize(
        TextRecognition::recognize(recognizer, crop, minimumTextHeight, level, languages));
  }
}

// The areas of two playing decks a second apart, read in turn by one
// recogniser, as the live loop reads them: each differs from the same deck's
// one before in its time readouts and waveform only.
void recognizePlaying(benchmark::State& state, const std::vector<Image>& crops, RecognitionLevel level,
                      RecognitionLanguages languages) {
  TesseractRecognizer recognizer(TesseractRecognizer::Memory::pages);
  for (const auto& crop : crops) TextRecognition::recognize(recognizer, crop, 0.02f, level, languages);
  std::size_t next = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(
        TextRecognition::recognize(recognizer, crops[next++ % crops.size()], 0.02f, level, languages));
  }
}

// A fast confirmation: the title region in the title's languages, the clock
// line in English.
void confirm(benchmark::State& state, const Image& title, const Image& clock, float titleHeight,
             float clockHeight, RecognitionLanguages languages) {
  const auto both = [&] {
    TesseractRecognizer recognizer;
    TextRecognition::recognize(recognizer, title, titleHeight, RecognitionLevel::fast, languages);
    return TextRecognition::recognize(recognizer, clock, clockHeight, RecognitionLevel::fast,
                                      RecognitionLanguages::english);
  };
  both();  // the engines start once per thread
  for (auto _ : state) benchmark::DoNotOptimize(both());
}

// The parts of deck 1's area that a fast confirmation reads, as the extractor
// finds them from an accurate reading.
struct FastParts {
  Image title, clock;
};

FastParts fastParts(const Image& crop, const std::string& title, const std::string& artist) {
  TesseractRecognizer recognizer;
  const auto lines = TextRecognition::recognize(recognizer, crop, 0.02f, RecognitionLevel::accurate,
                                                RecognitionLanguages::english);
  Track track;
  track.title = title;
  track.artist = artist;
  const auto region = DeckTextExtractor::titleRegion(lines, track);
  std::optional<Rect> clockBox;
  for (const auto& line : lines) {
    if (!clockBox && TextRecognition::elapsedSeconds(line.text)) clockBox = line.box;
  }
  if (!region || !clockBox) throw std::runtime_error("no title or clock in the deck");
  const auto part = [&](const Rect& rect) { return *crop.cropped(rect.scaledTo(crop.size())); };
  return {part(*region), part(DeckTextExtractor::clockArea(*clockBox))};
}

}  // namespace

int main(int argc, char** argv) {
  requireSingleThreadedRecognition(argv);
  benchmark::Initialize(&argc, argv);

  test::XvfbServer server;
  test::StandInRekordbox window(server.display());
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
  const FastParts parts = fastParts(crop, "Midnight City (Eric Prydz Private Remix)", "M83");
  std::vector<Image> playing;
  for (int second = 202; second < 214; ++second) {
    window.send("seek 1 " + std::to_string(second) + ".4");
    window.send("seek 2 " + std::to_string(second - 150) + ".7");
    const Image later = source.capture();
    for (const auto& deck : {DeckLayout().deck1, DeckLayout().deck2})
      playing.push_back(*later.cropped(deck.scaledTo(later.size())));
  }
  // Decks showing titles in scripts beyond Latin, each with the languages a
  // library of its script reads in.
  struct ScriptDeck {
    std::string name;
    Image crop;
    RecognitionLanguages languages;
  };
  std::vector<ScriptDeck> scriptDecks;
  RecognitionLanguages everyScript = RecognitionLanguages::english;
  for (const auto& [name, script, title, artist] :
       {std::tuple{"japanese", Script::japanese, "東京ナイト (Extended Mix)", "坂本 リョウ"},
        std::tuple{"chinese", Script::chinese, "北京的夜晚 (Club Mix)", "李健"},
        std::tuple{"korean", Script::korean, "별빛 댄스 (Extended Mix)", "이서연"},
        std::tuple{"arabic", Script::arabic, "طريق الحب (Club Edit)", "عمرو دياب"},
        std::tuple{"hebrew", Script::hebrew, "שמש של חורף (Club Mix)", "נועה קירל"},
        std::tuple{"thai", Script::thai, "ทะเลดาว (Extended Mix)", "ปาล์มมี่"}}) {
    window.load(1, {{"title", title},
                    {"artist", artist},
                    {"bpm", "126.00"},
                    {"key", "8A"},
                    {"duration", 412},
                    {"elapsed", 201.4}});
    const Image shown = source.capture();
    scriptDecks.push_back({std::string("recognize_deck_accurate_detect_") + name,
                           *shown.cropped(DeckLayout().deck1.scaledTo(shown.size())),
                           RecognitionLanguages::english.with(script)});
    everyScript = everyScript.with(script);
  }
  scriptDecks.push_back({"recognize_deck_accurate_detect_all", scriptDecks.front().crop, everyScript});
  const auto heightIn = [&](const Image& part) {
    return 0.02f * float(crop.height()) / float(part.height());
  };

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
      {"recognize_deck_fast_whole", &crop, 0.02f, RecognitionLevel::fast, english},
      {"recognize_deck_accurate_latin", &crop, 0.02f, RecognitionLevel::accurate, latin},
  };
  for (const auto& run : runs) {
    milliseconds(benchmark::RegisterBenchmark(run.name, [&run](benchmark::State& s) {
      recognize(s, *run.image, run.minimumTextHeight, run.level, run.languages);
    }));
  }
  for (const auto& deck : scriptDecks) {
    milliseconds(benchmark::RegisterBenchmark(deck.name.c_str(), [&deck](benchmark::State& s) {
      recognize(s, deck.crop, 0.02f, RecognitionLevel::accurate, deck.languages);
    }));
  }
  for (const auto& [name, languages] : {std::pair{"recognize_deck_accurate_playing", english},
                                        std::pair{"recognize_deck_accurate_playing_latin", latin}}) {
    milliseconds(benchmark::RegisterBenchmark(name, [&, languages](benchmark::State& s) {
      recognizePlaying(s, playing, RecognitionLevel::accurate, languages);
    }));
  }
  for (const auto& [name, languages] :
       {std::pair{"recognize_deck_fast", english}, std::pair{"recognize_deck_fast_latin", latin}}) {
    milliseconds(benchmark::RegisterBenchmark(name, [&, languages](benchmark::State& s) {
      confirm(s, parts.title, parts.clock, heightIn(parts.title), heightIn(parts.clock), languages);
    }));
  }
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
