// The deck text extractor on real captures of the stand-in rekordbox window,
// scan by scan on a controlled clock: loads on both decks, a running clock, a
// title that changes, an unload and a track not in the library. What
// recognition cannot promise (whether a fast reading confirms, whether a
// clock is legible in it) is allowed; what the extractor decides is asserted.

#include <gtest/gtest.h>

#include <cmath>
#include <iostream>
#include <map>
#include <memory>

#include "platform/ocr/tesseract_recognizer.h"
#include "platform/text/numbers.h"
#include "platform/time/clock.h"
#include "platform/x11/x11_window_system.h"
#include "reading/deck_text_extractor.h"
#include "reading/reading_fixtures.h"
#include "reading/screen_capture_source.h"
#include "reading/screen_permission.h"
#include "support/standin_rekordbox.h"
#include "support/xvfb_server.h"

namespace kesta {
namespace {

constexpr double kStep = 0.25;

struct Shown {
  std::string id;  // empty: not in the library
  std::string title;
  std::string artist;
};

const Shown kSignal{"1", "Midnight Signal", "Echo Unit"};
const Shown kGolden{"2", "Golden Hour Drive", "Mira Lane"};
const Shown kVelvet{"3", "Velvet Thunder", "Kasimir Grey"};
const Shown kOrchard{"4", "Electric Orchard", "Fennel and Stone"};
const Shown kUnlisted{"", "Harbour Walls at Dusk", "Nobody Known"};

Library library() {
  std::vector<Track> tracks;
  for (const auto& s : {kSignal, kGolden, kVelvet, kOrchard})
    tracks.push_back(test::libraryTrack(s.id, s.title, s.artist));
  return test::libraryOf(std::move(tracks));
}

// What one scan changes on the window before it captures.
struct Change {
  int scan;
  int deck;
  std::optional<Shown> shown;  // none: unload
};

// Deck 1's clock runs from 60 s, a quarter second a scan, until its title
// changes at scan 36; deck 2 loads, empties, shows an unlisted track, loads.
const std::vector<Change> kScript{
    {0, 1, kSignal},    {0, 2, kGolden},   {12, 2, kVelvet}, {24, 2, std::nullopt},
    {30, 2, kUnlisted}, {36, 1, kOrchard}, {44, 2, kGolden},
};
constexpr int kScans = 60;

struct DeckState {
  std::optional<Shown> shown;
  double clockBase = 0;   // seconds shown when the track was loaded
  int loadedAt = 0;       // scan
  bool changed = false;   // loaded or unloaded this scan
  bool anchored = false;  // anchored on what it shows now
  std::optional<double> lastOCR;
  std::optional<double> lastAccurate;
};

// Whether the reading names the library track `id`, at either strength.
bool names(const DeckReading& reading, const std::string& id) {
  const auto* track = reading.as<DeckReading::Track>();
  return !id.empty() && track && track->id == id;
}

bool isShortcut(const std::string& rule) { return rule == "unchanged-skip" || rule == "fast-verified"; }

TEST(DeckTextExtractorDisplay, RecordedSetIsReadScanByScan) {
  test::XvfbServer server;
  test::StandInRekordbox window(server.display());
  ScreenCaptureSource source(std::make_shared<X11WindowSystem>(server.display()), Clock::now,
                             ScreenPermission::granted);
  source.connect();
  const LibraryIndex index(library());
  DeckTextExtractor extractor(std::make_shared<TesseractRecognizer>());

  std::map<int, DeckState> decks{{1, {}}, {2, {}}};
  std::map<std::string, int> rules;
  int clocksRead = 0;
  for (int scan = 0; scan < kScans; ++scan) {
    const double now = 100.0 + scan * kStep;
    for (auto& [deck, state] : decks) state.changed = false;
    for (const auto& change : kScript) {
      if (change.scan != scan) continue;
      DeckState& state = decks[change.deck];
      state = DeckState{change.shown,      change.deck == 1 ? 60.0 : 15.0, scan, true, false, state.lastOCR,
                        state.lastAccurate};
      if (change.shown) {
        window.load(change.deck, {{"title", change.shown->title},
                                  {"artist", change.shown->artist},
                                  {"bpm", "124.00"},
                                  {"key", "8A"},
                                  {"duration", 400},
                                  {"elapsed", state.clockBase}});
      } else {
        window.send("clear " + std::to_string(change.deck));
      }
    }
    // Deck 1's clock runs with the scans.
    DeckState& running = decks[1];
    const double deck1Clock = running.clockBase + (scan - running.loadedAt) * kStep;
    if (scan > running.loadedAt) window.send("seek 1 " + numbers::formatFixed(deck1Clock, 2));

    const Image image = source.capture();
    for (auto& [deck, state] : decks) {
      SCOPED_TRACE("scan " + std::to_string(scan) + " deck " + std::to_string(deck));
      const DeckExtraction extraction = extractor.extract(image, deck, index, now);
      const DeckObservation& o = extraction.observation;
      ++rules[o.rule];
      const double shownClock = deck == 1 ? deck1Clock : state.clockBase;

      if (state.changed) {
        // A change on screen is always read accurately, never skipped.
        EXPECT_TRUE(extraction.ocrRan);
        EXPECT_FALSE(isShortcut(o.rule)) << o.rule;
        EXPECT_NE(o.titleAreaChanged, std::optional<bool>(false));
      }
      if (o.rule == "unchanged-skip") {
        EXPECT_TRUE(state.anchored);
        EXPECT_FALSE(extraction.ocrRan);
        ASSERT_TRUE(state.lastOCR);
        EXPECT_LT(now - *state.lastOCR, 1.0) << "skipped past the forced refresh";
      } else {
        EXPECT_TRUE(extraction.ocrRan);
        state.lastOCR = now;
      }
      if (o.rule == "fast-verified") {
        EXPECT_TRUE(state.anchored);
        ASSERT_TRUE(state.lastAccurate);
        EXPECT_LT(now - *state.lastAccurate, 5.0) << "fast confirmations past the accurate refresh";
      }
      if (!isShortcut(o.rule)) {
        state.lastAccurate = now;
        // An accurate reading says exactly what is shown.
        if (!state.shown)
          EXPECT_TRUE(o.reading.is<DeckReading::Empty>()) << o.reading.kind();
        else if (state.shown->id.empty())
          EXPECT_TRUE(o.reading.is<DeckReading::Unmatched>()) << o.reading.kind();
        else
          EXPECT_TRUE(names(o.reading, state.shown->id)) << o.reading.kind() << " by " << o.rule;
      }
      if (o.clockSeconds) {
        ++clocksRead;
        if (state.shown) {
          EXPECT_LE(std::abs(*o.clockSeconds - shownClock), 1.0) << "shown " << shownClock;
        }
      }

      // The engine's part: anchor on a reading that names what the deck holds.
      const bool holds = state.shown ? names(o.reading, state.shown->id) : o.reading.is<DeckReading::Empty>();
      if (extraction.ocrRan && holds) {
        extractor.anchor(deck, image, extraction, state.anchored, state.shown ? state.shown->title : "");
        state.anchored = true;
      }
    }
  }

  std::cout << "deck readings by rule:";
  for (const auto& [rule, count] : rules) std::cout << " " << rule << " " << count;
  std::cout << "; clocks read " << clocksRead << "\n";
  // Most scans of unchanged decks cost no accurate reading: the shortcuts carry them.
  EXPECT_GE(rules["unchanged-skip"], kScans) << "of " << 2 * kScans << " deck readings";
  EXPECT_GE(rules["fast-verified"], 4);
  EXPECT_GE(clocksRead, 10);
}

// A stopped deck is told from an unreadable one only by its clock standing
// still, and between accurate readings only fast confirmations read it: they
// must see the whole readout, leading zeros included, on both decks.
TEST(DeckTextExtractorDisplay, FastConfirmationsOfStoppedDecksReadTheirClocks) {
  test::XvfbServer server;
  test::StandInRekordbox window(server.display(),
                                test::StandInRekordbox::Options{.width = 1480, .height = 980});
  ScreenCaptureSource source(std::make_shared<X11WindowSystem>(server.display()), Clock::now,
                             ScreenPermission::granted);
  source.connect();
  const LibraryIndex index(library());
  DeckTextExtractor extractor(std::make_shared<TesseractRecognizer>());

  const std::map<int, Shown> shown{{1, kSignal}, {2, kGolden}};
  const std::map<int, double> stoppedAt{{1, 9.4}, {2, 1.4}};
  for (const auto& [deck, track] : shown)
    window.load(deck, {{"title", track.title},
                       {"artist", track.artist},
                       {"bpm", "124.00"},
                       {"key", "8A"},
                       {"duration", 420},
                       {"elapsed", stoppedAt.at(deck)}});
  const Image image = source.capture();
  std::map<int, int> confirmed, clocks;
  for (int scan = 0; scan < 40; ++scan) {
    const double now = 100.0 + scan * kStep;
    for (const auto& [deck, track] : shown) {
      const DeckExtraction extraction = extractor.extract(image, deck, index, now);
      const DeckObservation& o = extraction.observation;
      if (names(o.reading, track.id) && !isShortcut(o.rule))
        extractor.anchor(deck, image, extraction, scan > 0, track.title);
      if (o.rule != "fast-verified") continue;
      ++confirmed[deck];
      if (o.clockSeconds == int(stoppedAt.at(deck))) ++clocks[deck];
    }
  }
  for (const auto& [deck, track] : shown) {
    SCOPED_TRACE("deck " + std::to_string(deck));
    ASSERT_GE(confirmed[deck], 4);
    EXPECT_GE(2 * clocks[deck], confirmed[deck]) << clocks[deck] << " clocks in " << confirmed[deck];
  }
}

}  // namespace
}  // namespace kesta
