#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "model/status_text.h"
#include "model_fixture.h"
#include "model_probe.h"
#include "reading/reading_fixtures.h"

namespace kesta::model {
namespace {

using Arrange = std::function<void(StatusInputs&)>;

const LibraryIndex& index() {
  static const LibraryIndex shared(
      kesta::test::libraryOf({kesta::test::libraryTrack("t1", "Blue Hour", "Ana")}));
  return shared;
}

Focus focusOn(int deck, DeckContent content, FocusKind kind = FocusKind::load) {
  Focus focus;
  focus.deck = deck;
  focus.content = std::move(content);
  focus.kind = kind;
  return focus;
}

// Watching and reading, a library installed, following Deck 1's latest load
// while Deck 2 is stopped.
StatusInputs following() {
  StatusInputs s;
  s.libraryState = LibraryState::ready();
  s.libraryEmpty = false;
  s.watching = true;
  s.health = ReaderHealth::reading();
  s.phase = TrackerPhase::following;
  s.focus = focusOn(1, DeckContent::track("t1"));
  s.motion = {DeckMotion::running(), DeckMotion::stopped(30)};
  s.mixer = {MixerReading{0.9, true}, MixerReading{0.0, true}};
  s.index = &index();
  return s;
}

// Deck 2 still running with its fader at this level (absent: not read), and
// one-click load on.
Arrange otherDeckRunning(std::optional<double> fader) {
  return [fader](StatusInputs& s) {
    s.oneClickLoad = true;
    s.motion[1] = DeckMotion::running();
    s.mixer[1] = fader ? std::optional(MixerReading{*fader, true}) : std::nullopt;
  };
}

ScanRecord scan(std::string deck1, std::string deck2) {
  ScanRecord record;
  record.deck1 = std::move(deck1);
  record.deck2 = std::move(deck2);
  return record;
}

struct Row {
  const char* name;
  Arrange setup;
  std::string full;
  std::string compact;  // empty: the same as the full text
};

const std::string kLoading =
    "Loading \u2068Blue Hour\u2069 onto Deck 2… hands off the keyboard for a second.";
const std::string kLoadingShort = "Loading onto Deck 2… hands off for a second.";
const std::string kFollowing = "Following Deck 1, your latest load.";
const std::string kPlaying =
    "Following Deck 1. Deck 2 is still playing: once it's faded out, click Load twice to load over it.";
const std::string kPlayingShort = "Deck 2 playing: click Load twice to load.";
const std::string kNotInLibrary =
    "Deck 1's track isn't in your exported library, so ideas use its on-screen BPM";
const std::string kStreamedAdvice =
    "If it's streamed (Apple Music, Spotify, TIDAL…), add it to rekordbox's Collection, then export again.";
const ScanRecord kTrackListOnDeck2 = scan("track/exact", "unreadable/track-list");
const ScanRecord kTrackListOnDeck1 = scan("track-list", "track/exact");
const ScanRecord kUnreadable = scan("unreadable", "track-list/other");

std::vector<Row> cascadeRows() {
  return {
      {"loading a known track", [](StatusInputs& s) { s.loadStatus = LoadStatus::loading("t1", 2); },
       kLoading, kLoadingShort},
      {"loading a track the index lacks",
       [](StatusInputs& s) { s.loadStatus = LoadStatus::loading("gone", 1); },
       "Loading track onto Deck 1… hands off the keyboard for a second.",
       "Loading onto Deck 1… hands off for a second."},
      {"a notice waits while loading",
       [](StatusInputs& s) {
         s.loadStatus = LoadStatus::loading("t1", 2);
         s.notice = "Saved.";
       },
       kLoading, kLoadingShort},
      {"a notice with a short form",
       [](StatusInputs& s) {
         s.notice = "Long notice.";
         s.noticeShort = "Short.";
       },
       "Long notice.", "Short."},
      {"a notice without a short form", [](StatusInputs& s) { s.notice = "Only notice."; }, "Only notice.",
       ""},
      {"a notice hides a load result",
       [](StatusInputs& s) {
         s.loadStatus = LoadStatus::done("Loaded.", true);
         s.loadStatusShort = "Loaded (short).";
         s.notice = "Notice.";
       },
       "Notice.", ""},
      {"a load result with a short form",
       [](StatusInputs& s) {
         s.loadStatus = LoadStatus::done("Loaded onto Deck 2.", true);
         s.loadStatusShort = "Loaded.";
       },
       "Loaded onto Deck 2.", "Loaded."},
      {"a failed load without a short form",
       [](StatusInputs& s) { s.loadStatus = LoadStatus::failed("No row."); }, "No row.", ""},
      {"an import wins over watching",
       [](StatusInputs& s) { s.libraryState = LibraryState::importing("Reading a.xml…"); }, "Reading a.xml…",
       ""},
      {"a failed import", [](StatusInputs& s) { s.libraryState = LibraryState::failed("Bad file."); },
       "Bad file.", ""},
      {"an empty library", [](StatusInputs& s) { s.libraryEmpty = true; },
       "Add your rekordbox library to begin.", ""},
      {"ready to connect", [](StatusInputs& s) { s.watching = false; },
       "Ready. Press Connect when rekordbox is open.", ""},
      {"permission asked for",
       [](StatusInputs& s) {
         s.watching = false;
         s.screenPermission = false;
         s.askedForScreenPermission = true;
       },
       "Turn on Kesta Live Beta in System Settings (if it already looks on, turn it off and on again), then "
       "press "
       "Reopen Kesta.",
       "Turned it on? Press Reopen so it takes effect."},
      {"permission not asked for",
       [](StatusInputs& s) {
         s.watching = false;
         s.screenPermission = false;
       },
       "Allow screen recording so Kesta can read rekordbox's decks.", ""},
      {"a track list on deck 2",
       [](StatusInputs& s) {
         s.health = ReaderHealth::cannotSeeDecks(4);
         s.newestScan = &kTrackListOnDeck2;
       },
       "Kesta sees a track list where it expects the deck titles. Switch rekordbox to its 2-deck view with "
       "the deck "
       "titles at the top.",
       "Switch rekordbox to its 2-deck view."},
      {"a track list on deck 1",
       [](StatusInputs& s) {
         s.health = ReaderHealth::cannotSeeDecks(4);
         s.newestScan = &kTrackListOnDeck1;
       },
       "Kesta sees a track list where it expects the deck titles. Switch rekordbox to its 2-deck view with "
       "the deck "
       "titles at the top.",
       "Switch rekordbox to its 2-deck view."},
      {"decks unreadable, the reading mentions no track list at its end",
       [](StatusInputs& s) {
         s.health = ReaderHealth::cannotSeeDecks(12);
         s.newestScan = &kUnreadable;
       },
       "Can't read the deck titles for 12s. Is rekordbox covered, minimized or in another layout? Still "
       "following "
       "the last load.",
       "Can't read the deck titles (12s). Still following."},
      {"decks unreadable before any scan",
       [](StatusInputs& s) { s.health = ReaderHealth::cannotSeeDecks(3); },
       "Can't read the deck titles for 3s. Is rekordbox covered, minimized or in another layout? Still "
       "following "
       "the last load.",
       "Can't read the deck titles (3s). Still following."},
      {"capture failed with a short form",
       [](StatusInputs& s) { s.health = ReaderHealth::failed("rekordbox isn't open.", "Not open."); },
       "rekordbox isn't open.", "Not open."},
      {"capture failed without a short form",
       [](StatusInputs& s) { s.health = ReaderHealth::failed("Capture failed.", std::nullopt); },
       "Capture failed.", ""},
      {"connecting", [](StatusInputs& s) { s.health = ReaderHealth::connecting(); },
       "Connecting to rekordbox…", ""},
      {"started, nothing read yet", [](StatusInputs& s) { s.health = ReaderHealth::idle(); },
       "Connecting to rekordbox…", ""},
      {"one-click load lacks Accessibility", [](StatusInputs& s) { s.oneClickNeedsAccess = true; },
       "One-click load needs Accessibility: turn on Kesta Live Beta in System Settings › Privacy & Security "
       "› "
       "Accessibility (after an update, turn it off and on).",
       "One-click needs Accessibility (see Full)."},
      {"the export changed during the set", [](StatusInputs& s) { s.exportChangedDuringSet = true; },
       "Your rekordbox export changed. Kesta will load it when you press Stop.",
       "New export found: loads when you press Stop."},
      {"a changed export waits for a pending title",
       [](StatusInputs& s) {
         s.exportChangedDuringSet = true;
         s.pendingDecks = {2};
       },
       "Deck 2 changed. Checking the new title…", ""},
      {"both decks loaded at connect, resuming",
       [](StatusInputs& s) {
         s.phase = TrackerPhase::ambiguousStartup;
         s.focus.reset();
         s.hasResumePoint = true;
       },
       "Reconnecting…", ""},
      {"both decks loaded at connect",
       [](StatusInputs& s) {
         s.phase = TrackerPhase::ambiguousStartup;
         s.focus.reset();
       },
       "Both decks were loaded when Kesta started. Tap the deck you're mixing from, or load your next track.",
       "Both decks loaded: tap the deck you're mixing from."},
      {"no focus, a title being checked",
       [](StatusInputs& s) {
         s.phase = TrackerPhase::waiting;
         s.focus.reset();
         s.pendingDecks = {1};
       },
       "Checking a new deck title…", ""},
      {"no focus",
       [](StatusInputs& s) {
         s.phase = TrackerPhase::waiting;
         s.focus.reset();
       },
       "Watching. Load a track in rekordbox.", ""},
      {"the other deck changes", [](StatusInputs& s) { s.pendingDecks = {2}; },
       "Deck 2 changed. Checking the new title…", ""},
      {"the followed deck itself changes", [](StatusInputs& s) { s.pendingDecks = {1}; }, kFollowing, ""},
      {"several versions match",
       [](StatusInputs& s) {
         s.focus = focusOn(2, DeckContent::ambiguous({"a", "b"}));
       },
       "Deck 2: several songs match. Tap the right version.", ""},
      {"not in the library, BPM and key on screen",
       [](StatusInputs& s) {
         s.focus = focusOn(1, DeckContent::unmatched("Ghost Song"));
         s.screenTracks[1] = ScreenTrack{"Ghost Song", "", 122, "8A"};
       },
       kNotInLibrary + " and key. " + kStreamedAdvice, "Not in your library: ideas by on-screen BPM."},
      {"not in the library, BPM on screen, rekordbox changed since the export",
       [](StatusInputs& s) {
         s.focus = focusOn(1, DeckContent::unmatched("Ghost Song"));
         s.screenTracks[1] = ScreenTrack{"Ghost Song", "", 122, std::nullopt};
         s.staleExportDay = [] { return std::optional<std::string>("Mar 14"); };
       },
       kNotInLibrary + ". Your export is from Mar 14 and rekordbox has changed since: export again (File › "
                       "Export Collection in "
                       "xml format). If it's streamed, add it to Collection first.",
       "Not in your library: ideas by on-screen BPM."},
      {"not in the library, nothing on screen",
       [](StatusInputs& s) {
         s.focus = focusOn(2, DeckContent::unmatched("Ghost Song"));
         s.staleExportDay = [] { return std::optional<std::string>(); };
       },
       "Deck 2 has a track that isn't in your exported library. " + kStreamedAdvice,
       "Deck 2's track isn't in your library."},
      {"other deck running, mixer unread", otherDeckRunning(std::nullopt), kPlaying, kPlayingShort},
      {"other deck running, fader just above silent", otherDeckRunning(0.06), kPlaying, kPlayingShort},
      {"other deck running, fader at the silent threshold", otherDeckRunning(0.05), kFollowing, ""},
      {"other deck running, one-click off",
       [](StatusInputs& s) {
         otherDeckRunning(std::nullopt)(s);
         s.oneClickLoad = false;
       },
       kFollowing, ""},
      {"other deck running, followed deck ejected",
       [](StatusInputs& s) {
         otherDeckRunning(std::nullopt)(s);
         s.focus->deckUnloaded = true;
       },
       "Deck 1 was ejected. Still showing ideas for its last track until your next load.",
       "Deck 1 ejected. Ideas stay until your next load."},
      {"following Deck 2 while Deck 1 plays on",
       [](StatusInputs& s) {
         s.oneClickLoad = true;
         s.focus = focusOn(2, DeckContent::track("t1"));
       },
       "Following Deck 2. Deck 1 is still playing: once it's faded out, click Load twice to load over it.",
       "Deck 1 playing: click Load twice to load."},
      {"focus at start", [](StatusInputs& s) { s.focus->kind = FocusKind::initial; },
       "Following Deck 1 (the only loaded deck at start).", "Following Deck 1, the only loaded deck."},
      {"focus by load", [](StatusInputs&) {}, kFollowing, ""},
      {"focus chosen", [](StatusInputs& s) { s.focus->kind = FocusKind::userChoice; },
       "Following Deck 1 (your choice).", ""},
      {"focus resumed", [](StatusInputs& s) { s.focus->kind = FocusKind::resumed; },
       "Following Deck 1, as before you reconnected.", ""},
      {"focus by ear", [](StatusInputs& s) { s.focus->kind = FocusKind::audible; },
       "Following Deck 1: both decks are playing and this one has its fader up and EQ flat.",
       "Following Deck 1: fader up, EQ flat."},
      {"unknown content goes on to the kind",
       [](StatusInputs& s) { s.focus->content = DeckContent::unknown(); }, kFollowing, ""},
  };
}

TEST(StatusText, CascadeGivesTheFirstMatchingRuleInBothForms) {
  for (const Row& row : cascadeRows()) {
    SCOPED_TRACE(row.name);
    StatusInputs state = following();
    row.setup(state);
    EXPECT_EQ(statusText(state, false), row.full);
    EXPECT_EQ(statusText(state, true), row.compact.empty() ? row.full : row.compact);
  }
}

TEST(StatusText, LooksAtTheDiskOnlyForTheFullUnmatchedText) {
  StatusInputs state = following();
  state.focus = focusOn(1, DeckContent::unmatched("Ghost"));
  int asked = 0;
  state.staleExportDay = [&asked] {
    ++asked;
    return std::optional<std::string>();
  };
  statusText(state, true);
  EXPECT_EQ(asked, 0);
  statusText(state, false);
  EXPECT_EQ(asked, 1);
}

TEST(CardHeading, FirstMatchingRowWins) {
  struct HeadingRow {
    const char* name;
    Arrange setup;
    CardHeading heading;
  };
  const std::vector<HeadingRow> rows{
      {"not connected", [](StatusInputs& s) { s.watching = false; }, {"Kesta", "Not connected"}},
      {"decks unreadable",
       [](StatusInputs& s) {
         s.health = ReaderHealth::cannotSeeDecks(2);
         s.focus = focusOn(1, DeckContent::unmatched("x"));
       },
       {"Can't see rekordbox", "See the note below"}},
      {"capture failed",
       [](StatusInputs& s) { s.health = ReaderHealth::failed("x", std::nullopt); },
       {"Can't see rekordbox", "See the note below"}},
      {"both decks loaded",
       [](StatusInputs& s) {
         s.phase = TrackerPhase::ambiguousStartup;
         s.focus.reset();
       },
       {"Both decks are loaded", "Tap the one you're mixing from"}},
      {"unmatched",
       [](StatusInputs& s) { s.focus = focusOn(2, DeckContent::unmatched("x")); },
       {"Deck 2: not in your library", "Export again from rekordbox"}},
      {"ambiguous",
       [](StatusInputs& s) { s.focus = focusOn(1, DeckContent::ambiguous({"a"})); },
       {"Deck 1: which version?", "Tap the right one below"}},
      {"no focus",
       [](StatusInputs& s) { s.focus.reset(); },
       {"Waiting for a load…", "Load a track in rekordbox"}},
      {"a track", [](StatusInputs&) {}, {"Waiting for a load…", "Load a track in rekordbox"}},
  };
  for (const HeadingRow& row : rows) {
    SCOPED_TRACE(row.name);
    StatusInputs state = following();
    row.setup(state);
    EXPECT_EQ(cardHeading(state), row.heading);
  }
}

using StatusTest = test::ModelFixture;

const std::string kNoLibrary = "Add your rekordbox library to begin.";

TEST_F(StatusTest, AQuickSecondNoticeOutlivesTheFirstOnesTimer) {
  AppModel& m = model();
  executor->runAll();  // the launch's restore, which finds nothing stored
  queue->drain();
  m.show("First notice.", std::nullopt, 8);
  scheduler->advance(3);
  m.show("Second notice.", "Second.", 8);
  scheduler->advance(5.5);  // the first notice's time is up
  EXPECT_EQ(m.statusLine(), "Second notice.");
  EXPECT_EQ(m.compactStatus(), "Second.");
  scheduler->advance(2.5);
  EXPECT_EQ(m.statusLine(), kNoLibrary);
  EXPECT_EQ(m.compactStatus(), kNoLibrary);
}

TEST_F(StatusTest, ANoticeWaitsBehindALoadAndALoadResultClearsIt) {
  AppModel& m = model();
  m.setLoadStatus(LoadStatus::loading("t9", 1));
  m.show("Saved.", std::nullopt, 8);
  EXPECT_EQ(m.statusLine(), "Loading track onto Deck 1… hands off the keyboard for a second.");
  m.setLoadStatus(LoadStatus::idle());
  EXPECT_EQ(m.statusLine(), "Saved.");
  m.setLoadStatus(LoadStatus::failed("Nothing loaded."));
  EXPECT_EQ(m.statusLine(), "Nothing loaded.");
  EXPECT_EQ(m.compactStatus(), "Nothing loaded.");
}

TEST_F(StatusTest, FlaggingAWrongTrackCountsItAndSaysSo) {
  AppModel& m = model();
  executor->runAll();  // the launch's restore, which finds nothing stored
  queue->drain();
  m.flagWrongTrack();
  EXPECT_EQ(m.diagnosticsSession().log.summary.djFlaggedWrong, 1);
  EXPECT_EQ(m.statusLine(),
            "Noted, thanks. Tap the deck you're mixing from to fix it now; the flag is in Diagnostics.");
  EXPECT_EQ(m.compactStatus(), "Noted. Right-click the track to follow the other deck.");
  scheduler->advance(8);
  EXPECT_EQ(m.statusLine(), kNoLibrary);
}

TEST_F(StatusTest, TheModelReadsItsEngineStateIntoTheRules) {
  ModelProbe::install(model(), kesta::test::libraryOf({kesta::test::libraryTrack("t1", "Blue Hour")}));
  model().setOneClickLoad(true);
  scheduler->advance(15);  // the notice of switching on is gone
  model().startWatching();
  EngineUpdate update;
  update.decks = {DeckContent::track("t1"), DeckContent::unmatched("Ghost")};
  update.focus = focusOn(1, DeckContent::track("t1"));
  update.phase = TrackerPhase::following;
  update.health = ReaderHealth::reading();
  update.motion = {DeckMotion::running(), DeckMotion::running()};
  update.mixer = {MixerReading{0.9, true}, std::nullopt};
  ASSERT_TRUE(engines->last()->deliver(update));
  EXPECT_EQ(model().compactStatus(), "Deck 2 playing: click Load twice to load.");
  EXPECT_EQ(model().otherLoadedDeck(), 2);
  EXPECT_FALSE(model().readerProblem());

  update.health = ReaderHealth::cannotSeeDecks(5);
  update.scan = scan("unreadable", "unreadable/track-list");
  ASSERT_TRUE(engines->last()->deliver(update));
  EXPECT_EQ(model().compactStatus(), "Switch rekordbox to its 2-deck view.");
  EXPECT_TRUE(model().readerProblem());
  EXPECT_EQ(model().cardHeading(), (AppModel::CardHeading{"Can't see rekordbox", "See the note below"}));
}

// rekordbox's database file in a temporary folder that stands in for
// rekordbox's own, so the export freshness check reads a date the test sets.
class StaleExportTest : public test::ModelFixture {
 protected:
  StaleExportTest() {
    if (const char* old = std::getenv(kVariable)) previous_ = old;
    setenv(kVariable, pioneer_.c_str(), 1);
  }
  ~StaleExportTest() override {
    if (previous_) {
      setenv(kVariable, previous_->c_str(), 1);
    } else {
      unsetenv(kVariable);
    }
    std::error_code ignored;
    std::filesystem::remove_all(pioneer_, ignored);
  }

  // Leaves the database file changed at `unixSeconds`, or no file when absent.
  void databaseChangedAt(std::optional<time_t> unixSeconds) {
    const auto database = pioneer_ / "rekordbox" / "master.db";
    std::filesystem::remove(database);
    if (!unixSeconds) return;
    std::filesystem::create_directories(database.parent_path());
    std::ofstream(database) << "db";
    const timespec times[2] = {{0, UTIME_OMIT}, {*unixSeconds, 0}};
    ASSERT_EQ(utimensat(AT_FDCWD, database.c_str(), times, 0), 0);
  }

 private:
  static constexpr const char* kVariable = "KESTA_PIONEER_DIR";
  const std::filesystem::path pioneer_ =
      dataDir().parent_path() / (dataDir().filename().string() + "-pioneer");
  std::optional<std::string> previous_;
};

TEST_F(StaleExportTest, ATrackMissingFromTheLibraryNamesTheExportsDayOnceRekordboxChangedSince) {
  constexpr time_t exportedAt = 1773446400 + 20 * 3600;  // March 14, 20:00 UTC
  ModelProbe::install(model(), kesta::test::libraryOf({kesta::test::libraryTrack("t1", "Blue Hour")}));
  model().setLibraryModifiedAt(Date::fromUnixSeconds(static_cast<double>(exportedAt)));
  model().startWatching();
  EngineUpdate update;
  update.decks = {DeckContent::track("t1"), DeckContent::unmatched("Ghost")};
  update.focus = focusOn(2, DeckContent::unmatched("Ghost"));
  update.phase = TrackerPhase::following;
  update.health = ReaderHealth::reading();
  update.motion = {DeckMotion::stopped(30), DeckMotion::running()};
  update.screenTracks[2] = ScreenTrack{"Ghost", "", 122, "8A"};
  ASSERT_TRUE(engines->last()->deliver(update));

  const std::string missing =
      "Deck 2's track isn't in your exported library, so ideas use its on-screen BPM and key. ";
  struct Case {
    const char* name;
    std::optional<time_t> databaseChangedAt;
    std::string advice;
  };
  const std::vector<Case> cases{
      {"changed over an hour after the export", exportedAt + 3601,
       "Your export is from day 2026-03-14 and rekordbox has changed since: export again (File › Export "
       "Collection in xml format). If it's streamed, add it to Collection first."},
      {"no database", std::nullopt, kStreamedAdvice},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    databaseChangedAt(c.databaseChangedAt);
    EXPECT_EQ(model().statusLine(), missing + c.advice);
    EXPECT_EQ(model().compactStatus(), "Not in your library: ideas by on-screen BPM.");
  }
}

}  // namespace
}  // namespace kesta::model
