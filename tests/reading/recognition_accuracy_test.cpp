// Recognition of deck texts as the stand-in window draws them, end to end:
// capture, deck crop, text recognition, then the title and the elapsed time
// as the deck reader would take them.

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <iostream>
#include <map>
#include <memory>

#include "deck_texts.h"
#include "library/text_tools.h"
#include "platform/ocr/tesseract_recognizer.h"
#include "platform/time/clock.h"
#include "platform/x11/x11_window_system.h"
#include "reading/deck_layout.h"
#include "reading/deck_text_extractor.h"
#include "reading/library_index.h"
#include "reading/reading_fixtures.h"
#include "reading/screen_capture_source.h"
#include "reading/screen_permission.h"
#include "reading/text_recognition.h"
#include "reading/track_matcher.h"
#include "support/standin_rekordbox.h"
#include "support/xvfb_server.h"

namespace kesta {
namespace {

// "03:21.4" → 201.
int wholeSeconds(const std::string& readout) {
  return std::stoi(readout.substr(0, readout.find(':'))) * 60 +
         std::stoi(readout.substr(readout.find(':') + 1, 2));
}

struct Rates {
  int decks = 0;
  int titlesRight = 0;
  int clocksRight = 0;
  int tracksRight = 0;  // decks the matcher took for their own track of `index`
  int wrongTracks = 0;  // decks the matcher took for another track of `index`
};

// Shows the texts two at a time on the stand-in's decks and reads them as
// the deck reader does; the matcher's verdicts count when `index` is given
// (it must hold the texts in their order, ids from `firstID`).
Rates readAll(const std::string& display, int titleSize, RecognitionLevel level,
              RecognitionLanguages languages, const std::vector<test::DeckText>& texts,
              const LibraryIndex* index = nullptr, std::size_t firstID = 0) {
  test::StandInRekordbox::Options options;
  options.titleSize = titleSize;
  test::StandInRekordbox window(display, options);
  ScreenCaptureSource source(std::make_shared<X11WindowSystem>(display), Clock::now,
                             ScreenPermission::granted);
  source.connect();
  TesseractRecognizer recognizer;

  Rates rates;
  for (std::size_t i = 0; i + 1 < texts.size(); i += 2) {
    nlohmann::json shown[2];
    for (int deck = 0; deck < 2; ++deck) {
      const auto& t = texts[i + std::size_t(deck)];
      shown[deck] = window.load(deck + 1, {{"title", t.title},
                                           {"artist", t.artist},
                                           {"bpm", t.bpm},
                                           {"key", t.key},
                                           {"duration", t.duration},
                                           {"elapsed", t.elapsed}});
    }
    const Image image = source.capture();
    for (int deck = 0; deck < 2; ++deck) {
      const auto crop = image.cropped(DeckLayout().rect(deck + 1).scaledTo(image.size()));
      if (!crop) throw std::runtime_error("no deck crop");
      const auto lines = TextRecognition::recognize(recognizer, *crop, 0.02f, level, languages);
      const std::string title = TextTools::normalized(shown[deck]["title"].get<std::string>());
      bool titleRight = false;
      std::optional<int> clock;
      for (const auto& line : lines) {
        titleRight = titleRight || TextTools::normalized(line.text) == title ||
                     (!line.otherOrder.empty() && TextTools::normalized(line.otherOrder) == title);
        if (!clock) clock = TextRecognition::elapsedSeconds(line.text);
      }
      const int expectedClock = wholeSeconds(shown[deck]["elapsed"].get<std::string>());
      ++rates.decks;
      rates.titlesRight += titleRight;
      rates.clocksRight += clock == expectedClock;
      if (index) {
        const MatchResult match = DeckTextExtractor::match(lines, *index);
        const auto* track = match.reading.as<DeckReading::Track>();
        const std::string id = std::to_string(firstID + i + std::size_t(deck));
        rates.tracksRight += track && track->id == id;
        if (track && track->id != id) {
          ++rates.wrongTracks;
          std::cout << "  deck " << deck + 1 << " showed \"" << shown[deck]["title"].get<std::string>()
                    << "\", matched track " << track->id << "\n";
        }
      }
      if (!titleRight || clock != expectedClock) {
        std::cout << "  size " << titleSize << " deck " << deck + 1 << " showed \""
                  << shown[deck]["title"].get<std::string>() << "\" "
                  << shown[deck]["elapsed"].get<std::string>() << ", read:";
        for (const auto& line : lines) std::cout << " [" << line.text << "]";
        std::cout << "\n";
      }
    }
  }
  return rates;
}

// The languages a library of the shown texts is read in: they hold letters
// beyond English, so the Latin-script ones.
RecognitionLanguages languagesOfTheTexts() {
  std::vector<Track> tracks;
  for (const auto& t : test::deckTexts())
    tracks.push_back(test::libraryTrack(std::to_string(tracks.size()), t.title, t.artist));
  return LibraryIndex(test::libraryOf(std::move(tracks))).recognitionLanguages();
}

double percent(int part, int whole) { return whole ? 100.0 * part / whole : 0; }

TEST(RecognitionAccuracy, DeckTitlesAndElapsedTimesAtTwoFontSizes) {
  test::XvfbServer server;
  const RecognitionLanguages languages = languagesOfTheTexts();
  ASSERT_EQ(languages, RecognitionLanguages::latin);
  for (const int titleSize : {15, 20}) {
    const Rates rates =
        readAll(server.display(), titleSize, RecognitionLevel::accurate, languages, test::deckTexts());
    std::cout << "title size " << titleSize << " px: " << rates.decks << " decks, titles "
              << percent(rates.titlesRight, rates.decks) << " %, elapsed times "
              << percent(rates.clocksRight, rates.decks) << " %\n";
    // Measured with the Latin-script model: titles 98 % at 15 px and 100 %
    // at 20 px, every elapsed time right at both sizes (English data alone
    // lost ñ, Å and ø and read a capital I as a bar: 95 % of titles at 15 px).
    EXPECT_GE(percent(rates.titlesRight, rates.decks), 97.0) << "title size " << titleSize;
    EXPECT_EQ(rates.clocksRight, rates.decks) << "title size " << titleSize;
  }
}

// Titles in the scripts beyond Latin, drawn in the faces desktops draw them
// in, each script as the library of a DJ who plays it and read with the
// languages that library calls for.
TEST(RecognitionAccuracy, TitlesInScriptsBeyondLatin) {
  test::XvfbServer server;
  Rates all;
  for (const auto& script : test::scriptDeckTexts()) {
    std::vector<Track> tracks;
    for (const auto& t : script.texts)
      tracks.push_back(test::libraryTrack(std::to_string(tracks.size()), t.title, t.artist));
    const LibraryIndex index(test::libraryOf(std::move(tracks)));
    ASSERT_NE(index.recognitionLanguages().scripts, 0) << script.script;
    const Rates rates = readAll(server.display(), 15, RecognitionLevel::accurate,
                                index.recognitionLanguages(), script.texts, &index);
    std::cout << script.script << ": " << rates.decks << " decks, titles "
              << percent(rates.titlesRight, rates.decks) << " %, elapsed times "
              << percent(rates.clocksRight, rates.decks) << " %, tracks found "
              << percent(rates.tracksRight, rates.decks) << " %, wrong tracks " << rates.wrongTracks << "\n";
    // Measured: every script 83 % or more but Thai, 67 %: a tone mark above
    // SARA AM (ค่ำ, น้ำ) is lost at deck sizes.
    EXPECT_GE(percent(rates.titlesRight, rates.decks), script.script == "Thai" ? 60.0 : 80.0)
        << script.script;
    all.decks += rates.decks;
    all.titlesRight += rates.titlesRight;
    all.clocksRight += rates.clocksRight;
    all.wrongTracks += rates.wrongTracks;
  }
  std::cout << "all: titles " << percent(all.titlesRight, all.decks) << " %\n";
  EXPECT_GE(percent(all.titlesRight, all.decks), 90.0);
  EXPECT_EQ(all.clocksRight, all.decks);
  EXPECT_EQ(all.wrongTracks, 0);
}

// One library holding every script at once, as a DJ who plays them all keeps
// it: each line must be read with the model of its own script, a Latin
// version with the Latin one, and a title that begins with its Latin words
// found in whichever direction it was drawn.
TEST(RecognitionAccuracy, OneLibraryHoldingEveryScript) {
  test::XvfbServer server;
  const auto scripts = test::everyScriptDeckTexts();
  // Measured: titles right Japanese 11 of 12, Korean 11, Chinese 10, Arabic
  // and Hebrew 12, Thai 9 (90.3 %); tracks found 94.4 %. The misses: a kana
  // read twice, 빛 read as 빚, 霓 read as 需 by both Han models (and those
  // two titles' tracks not found), and the tone mark above SARA AM, which
  // the stand-in's line box cuts off.
  const std::map<std::string, double> floors{{"Japanese", 91.0}, {"Korean", 91.0},  {"Chinese", 83.0},
                                             {"Arabic", 100.0},  {"Hebrew", 100.0}, {"Thai", 75.0}};
  std::vector<Track> tracks;
  for (const auto& script : scripts)
    for (const auto& t : script.texts)
      tracks.push_back(test::libraryTrack(std::to_string(tracks.size()), t.title, t.artist));
  const LibraryIndex index(test::libraryOf(std::move(tracks)));
  Rates all;
  for (const auto& script : scripts) {
    const Rates rates = readAll(server.display(), 15, RecognitionLevel::accurate,
                                index.recognitionLanguages(), script.texts, &index, std::size_t(all.decks));
    std::cout << script.script << ": " << rates.decks << " decks, titles "
              << percent(rates.titlesRight, rates.decks) << " %, elapsed times "
              << percent(rates.clocksRight, rates.decks) << " %, tracks found "
              << percent(rates.tracksRight, rates.decks) << " %, wrong tracks " << rates.wrongTracks << "\n";
    EXPECT_GE(percent(rates.titlesRight, rates.decks), floors.at(script.script)) << script.script;
    all.decks += rates.decks;
    all.titlesRight += rates.titlesRight;
    all.clocksRight += rates.clocksRight;
    all.tracksRight += rates.tracksRight;
    all.wrongTracks += rates.wrongTracks;
  }
  std::cout << "all: titles " << percent(all.titlesRight, all.decks) << " %, tracks found "
            << percent(all.tracksRight, all.decks) << " %\n";
  EXPECT_GE(percent(all.titlesRight, all.decks), 90.0);
  EXPECT_GE(percent(all.tracksRight, all.decks), 94.0);
  EXPECT_EQ(all.clocksRight, all.decks);
  EXPECT_EQ(all.wrongTracks, 0);
}

// Whether `part` is `whole` with some lines left out, the rest in order.
bool within(const std::vector<std::string>& part, const std::vector<std::string>& whole) {
  auto next = whole.begin();
  for (const auto& line : part) {
    next = std::find(next, whole.end(), line);
    if (next == whole.end()) return false;
    ++next;
  }
  return true;
}

// A recogniser that read a deck before reads only the rows that changed since
// (the time readouts and the waveform of a playing deck, everything after a
// load). The deck reader must take the same from it as from a first reading
// of the same picture: the same match and time, every line but what a first
// reading makes of the waveform.
TEST(RecognitionAccuracy, ReadingOnlyWhatChangedReadsTheDeckAsAWholeReadingDoes) {
  test::XvfbServer server;
  test::StandInRekordbox window(server.display());
  ScreenCaptureSource source(std::make_shared<X11WindowSystem>(server.display()), Clock::now,
                             ScreenPermission::granted);
  source.connect();
  const auto texts = test::deckTexts();
  const LibraryIndex index(test::libraryOf({test::libraryTrack("1", texts[5].title, texts[5].artist),
                                            test::libraryTrack("2", texts[6].title, texts[6].artist)}));
  const auto show = [&](const test::DeckText& t) {
    window.load(1, {{"title", t.title},
                    {"artist", t.artist},
                    {"bpm", t.bpm},
                    {"key", t.key},
                    {"duration", t.duration},
                    {"elapsed", t.elapsed}});
  };
  const auto textsOf = [](const std::vector<RecognizedLine>& lines) {
    std::vector<std::string> out;
    for (const auto& line : lines) out.push_back(line.text);
    return out;
  };
  const auto clockOf = [](const std::vector<std::string>& lines) {
    for (const auto& line : lines)
      if (const auto seconds = TextRecognition::elapsedSeconds(line)) return seconds;
    return std::optional<int>();
  };
  for (const auto level : {RecognitionLevel::accurate, RecognitionLevel::fast}) {
    for (const auto languages : {RecognitionLanguages::english, RecognitionLanguages::latin}) {
      TesseractRecognizer remembering(TesseractRecognizer::Memory::pages);
      show(texts[5]);
      // Seconds on, a minute on, the same picture again, another track, and
      // that one on, past the whole reading every fourth time.
      const std::vector<std::function<void()>> steps{
          [] {},
          [&] { window.send("seek 1 75.0"); },
          [&] { window.send("seek 1 136.4"); },
          [] {},
          [&] { show(texts[6]); },
          [&] { window.send("seek 1 12.0"); },
          [&] { window.send("seek 1 13.1"); },
          [&] { window.send("seek 1 14.2"); },
          [&] { window.send("seek 1 75.3"); },
          [&] { window.send("seek 1 80.0"); },
      };
      for (std::size_t i = 0; i < steps.size(); ++i) {
        steps[i]();
        const Image image = source.capture();
        const Image crop = *image.cropped(DeckLayout().rect(1).scaledTo(image.size()));
        TesseractRecognizer fresh;
        const auto whole = textsOf(TextRecognition::recognize(fresh, crop, 0.02f, level, languages));
        const auto part = textsOf(TextRecognition::recognize(remembering, crop, 0.02f, level, languages));
        const std::string where = "step " + std::to_string(i) +
                                  (level == RecognitionLevel::fast ? " fast" : " accurate") +
                                  (languages == RecognitionLanguages::latin ? " Latin" : " English");
        EXPECT_TRUE(within(part, whole)) << where;
        EXPECT_GE(part.size() + 1, whole.size()) << where;
        EXPECT_EQ(TrackMatcher::match(part, index).reading, TrackMatcher::match(whole, index).reading)
            << where;
        EXPECT_EQ(clockOf(part), clockOf(whole)) << where;
        EXPECT_TRUE(clockOf(part)) << where;
      }
    }
  }
}

}  // namespace
}  // namespace kesta
