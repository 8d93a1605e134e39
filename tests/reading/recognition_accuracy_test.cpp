// Recognition of deck texts as the stand-in window draws them, end to end:
// capture, deck crop, text recognition, then the title and the elapsed time
// as the deck reader would take them.

#include <gtest/gtest.h>

#include <iostream>
#include <memory>

#include "deck_texts.h"
#include "library/text_tools.h"
#include "platform/ocr/tesseract_recognizer.h"
#include "platform/time/clock.h"
#include "platform/x11/x11_window_system.h"
#include "reading/deck_layout.h"
#include "reading/library_index.h"
#include "reading/reading_fixtures.h"
#include "reading/screen_capture_source.h"
#include "reading/screen_permission.h"
#include "reading/text_recognition.h"
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
};

Rates readAll(const std::string& display, int titleSize, RecognitionLevel level,
              RecognitionLanguages languages) {
  test::StandInRekordbox::Options options;
  options.titleSize = titleSize;
  test::StandInRekordbox window(display, options);
  ScreenCaptureSource source(std::make_shared<X11WindowSystem>(display), Clock::now,
                             ScreenPermission::granted);
  source.connect();
  TesseractRecognizer recognizer;

  const auto texts = test::deckTexts();
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
        titleRight = titleRight || TextTools::normalized(line.text) == title;
        if (!clock) clock = TextRecognition::elapsedSeconds(line.text);
      }
      const int expectedClock = wholeSeconds(shown[deck]["elapsed"].get<std::string>());
      ++rates.decks;
      rates.titlesRight += titleRight;
      rates.clocksRight += clock == expectedClock;
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
    const Rates rates = readAll(server.display(), titleSize, RecognitionLevel::accurate, languages);
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

}  // namespace
}  // namespace kesta
