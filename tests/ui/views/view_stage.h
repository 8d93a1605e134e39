#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "reading/reading_fixtures.h"
#include "ui/views/fake_driven_model.h"

namespace kesta::test {
using namespace kesta::ui;

// A title of 120 characters, the longest the views must cope with.
inline const std::string kLongTitle =
    "Adagio for Strings (Extended Festival Mix) [Remastered 2026] feat. The Very Long Orchestra of "
    "Everywhere and Friends Too";

// The tracks of the stage's library: ids "1" to "8"; "7" and "8" are two
// versions of one song; "6" has the long title.
inline Library stageLibrary(std::string fileName = "rekordbox.xml") {
  using kesta::test::libraryTrack;
  Library library = kesta::test::libraryOf({
      libraryTrack("1", "Strobe", "deadmau5", 128.0, "8A"),
      libraryTrack("2", "Levels", "Avicii", 126.0, "5A"),
      libraryTrack("3", "Opus", "Eric Prydz", 126.0, "7A"),
      libraryTrack("4", "Cola", "CamelPhat", 124.0, "8A"),
      libraryTrack("5", "Losing It", "Fisher", 125.0, "9A"),
      libraryTrack("6", kLongTitle, "Orchestra", 128.0, "8B"),
      libraryTrack("7", "Innerbloom", "RÜFÜS DU SOL", 120.0, "4A"),
      libraryTrack("8", "Innerbloom", "RÜFÜS DU SOL", 122.0, "4A"),
  });
  library.sourceFileName = std::move(fileName);
  library.playlists = {Playlist{"00000000000000a1", "Warm up", {}, {"1", "2", "3"}},
                       Playlist{"00000000000000a2", "Peak time", {"Club"}, {"4", "5", "6"}}};
  library.report.totalEntries = 8;
  library.report.recommendable = 8;
  library.report.playlists = 2;
  return library;
}

// The fake-driven model put into the states the windows show: the library
// installed as an import installs it (with its notifications and pool
// choices), Connect, and scans with any health and events. Everything the
// model posts or hands to the background runs in `finishWork`.
class ViewStage : public FakeDrivenModel {
 public:
  explicit ViewStage(bool screenGranted = true) {
    screen->isGranted = screenGranted;
    bridge();
    finishWork();
  }

  // Runs posted and background work until none is left.
  void finishWork() {
    for (int round = 0; round < 20; ++round) {
      const int ran = queue->drain();
      if (executor->pending() == 0 && ran == 0) return;
      executor->runAll();
    }
  }

  void install(Library library = stageLibrary(), std::optional<Date> modifiedAt = std::nullopt) {
    model().install(std::move(library), (dataDir() / "rekordbox.xml").string(), modifiedAt);
    finishWork();
  }

  void connect() {
    model().startWatching();
    finishWork();
  }

  // One scan while reading: the decks as given, the focus on `focusDeck`
  // (none for 0), both decks running.
  void deliver(std::vector<DeckContent> decks, int focusDeck, TrackerPhase phase = TrackerPhase::following,
               ReaderHealth health = ReaderHealth::reading(), std::vector<TrackerEvent> events = {}) {
    EngineUpdate update;
    update.events = std::move(events);
    if (focusDeck > 0)
      update.focus = Focus{focusDeck, decks[focusDeck - 1], ++seq_, FocusKind::load, 0, false};
    update.decks = std::move(decks);
    update.phase = phase;
    update.health = std::move(health);
    update.motion = {DeckMotion::running(), DeckMotion::running()};
    update.confirmedAt = 2000;
    engines->last()->deliver(update);
    finishWork();
  }

 private:
  std::uint64_t seq_ = 0;
};

}  // namespace kesta::test
