#include "oneclick/load_safety.h"

#include <gtest/gtest.h>

#include <optional>
#include <set>
#include <string>
#include <unordered_map>
#include <vector>

#include "oneclick/browser_rows.h"

namespace kesta {
namespace {

using test::libraryTrack;

const Track kRequested = libraryTrack("10", "Strobe", "deadmau5");
const Track kSameSong = libraryTrack("11", "Strobe", "Deadmau5");
const Track kOther = libraryTrack("20", "Ghosts n Stuff", "deadmau5");
const std::unordered_map<std::string, std::string> kSongKeys = {
    {kRequested.id, kRequested.songKey()},
    {kSameSong.id, kSameSong.songKey()},
    {kOther.id, kOther.songKey()},
};

Focus focusOn(int deck) {
  Focus focus;
  focus.deck = deck;
  return focus;
}

MixerReading fader(double position) { return MixerReading{position, true}; }

const std::string kNoFocus = "Load a track first so Kesta knows which deck you're playing from.";

const DeckContent kTrackOther = DeckContent::track(kOther.id);

// Both decks stopped; `focus` 0 means no deck is followed.
TEST(LoadSafety, FocusPendingAndAlreadyLoaded) {
  struct Row {
    const char* name;
    int focus;
    DeckContent deck1;
    DeckContent deck2;
    std::set<int> pending;
    LoadDecision expected;
  };
  const DeckContent empty = DeckContent::empty();
  const DeckContent requested = DeckContent::track(kRequested.id);
  const DeckContent sameSong = DeckContent::track(kSameSong.id);
  const auto refused = &LoadDecision::refused;
  const Row rows[] = {
      {"no focus, whatever the decks", 0, empty, empty, {1, 2}, refused(kNoFocus)},
      {"focus 1 targets 2", 1, kTrackOther, empty, {}, LoadDecision::allowed(2)},
      {"focus 2 targets 1", 2, empty, kTrackOther, {}, LoadDecision::allowed(1)},
      {"an odd focus deck targets 1", 3, empty, kTrackOther, {}, LoadDecision::allowed(1)},
      {"pending target wins over already loaded",
       1,
       requested,
       empty,
       {2},
       refused("Deck 2 is changing. Try again in a moment.")},
      {"pending focus deck does not matter", 1, kTrackOther, empty, {1}, LoadDecision::allowed(2)},
      {"requested track on the focus deck",
       2,
       empty,
       requested,
       {},
       refused("That track is already on Deck 2.")},
      {"same song, other entry, on the target deck",
       2,
       sameSong,
       kTrackOther,
       {},
       refused("That track is already on Deck 1.")},
      {"both decks hold the song: deck 1 is named",
       2,
       sameSong,
       requested,
       {},
       refused("That track is already on Deck 1.")},
      {"unknown id is compared by id only",
       1,
       DeckContent::track("999"),
       empty,
       {},
       LoadDecision::allowed(2)},
      {"ambiguous with the requested id is not loaded",
       1,
       DeckContent::ambiguous({kRequested.id, kSameSong.id}),
       empty,
       {},
       LoadDecision::allowed(2)},
      {"unmatched with the title is not loaded",
       1,
       DeckContent::unmatched("Strobe"),
       empty,
       {},
       LoadDecision::allowed(2)},
  };
  const std::vector<DeckMotion> stopped = {DeckMotion::stopped(4), DeckMotion::stopped(4)};
  for (const auto& row : rows) {
    const auto focus = row.focus == 0 ? std::nullopt : std::optional(focusOn(row.focus));
    const std::vector<DeckContent> decks = {row.deck1, row.deck2};
    EXPECT_EQ(LoadSafety::decide(kRequested, focus, decks, stopped, row.pending, kSongKeys), row.expected)
        << row.name;
  }
}

// Every motion of the target deck against every content and mixer reading.
TEST(LoadSafety, TargetDeckMotionTable) {
  const std::vector<std::pair<const char*, DeckContent>> contents = {
      {"unknown", DeckContent::unknown()},
      {"empty", DeckContent::empty()},
      {"track", kTrackOther},
      {"ambiguous", DeckContent::ambiguous({"1", "2"})},
      {"unmatched", DeckContent::unmatched("Tune")},
  };
  struct Mixer {
    const char* name;
    std::vector<std::optional<MixerReading>> readings;
    bool silent;
  };
  const std::vector<Mixer> mixers = {
      {"nothing passed", {}, false},
      {"two absent", {std::nullopt, std::nullopt}, false},
      {"only deck 1 listed", {fader(0)}, false},
      {"fader 0", {fader(0.8), fader(0)}, true},
      {"fader 0.05", {fader(0.8), fader(0.05)}, true},
      {"fader 0.06", {fader(0), fader(0.06)}, false},
      {"fader 1", {fader(0), fader(1)}, false},
  };
  const LoadDecision cannotRead = LoadDecision::refused("Kesta can't read Deck 2 yet.");
  const LoadDecision cannotTell =
      LoadDecision::refused("Kesta can't tell whether Deck 2 is stopped (its time readout isn't visible).");

  for (const auto& [contentName, content] : contents) {
    for (const auto& mixer : mixers) {
      const bool unknown = content.is<DeckContent::Unknown>();
      const struct {
        DeckMotion motion;
        LoadDecision expected;
      } rows[] = {
          {DeckMotion::stopped(0.5), unknown ? cannotRead : LoadDecision::allowed(2)},
          {DeckMotion::stopped(600), unknown ? cannotRead : LoadDecision::allowed(2)},
          {DeckMotion::empty(), LoadDecision::allowed(2)},
          {DeckMotion::running(),
           mixer.silent ? LoadDecision::allowed(2) : LoadDecision::needsConfirmation(2)},
          {DeckMotion::unknown(), cannotTell},
      };
      for (const auto& row : rows) {
        const std::vector<DeckContent> decks = {kTrackOther, content};
        const std::vector<DeckMotion> motion = {DeckMotion::running(), row.motion};
        EXPECT_EQ(LoadSafety::decide(kRequested, focusOn(1), decks, motion, {}, kSongKeys, mixer.readings),
                  row.expected)
            << contentName << ", " << mixer.name << ", motion category " << row.motion.category();
      }
    }
  }
}

// The per-deck lists are the caller's to fill; short ones are refused, not read past.
TEST(LoadSafety, ShortListsAreRefusedNotRead) {
  struct Row {
    const char* name;
    int focus;
    std::vector<DeckContent> decks;
    std::vector<DeckMotion> motion;
    LoadDecision expected;
  };
  const auto stopped = DeckMotion::stopped(3);
  const LoadDecision cannotTell =
      LoadDecision::refused("Kesta can't tell whether Deck 2 is stopped (its time readout isn't visible).");
  const Row rows[] = {
      {"no decks, no motion", 1, {}, {}, cannotTell},
      {"no deck contents, target stopped",
       1,
       {},
       {stopped, stopped},
       LoadDecision::refused("Kesta can't read Deck 2 yet.")},
      {"only deck 1 listed, target stopped", 1, {kTrackOther}, {stopped}, cannotTell},
      {"only deck 1 content, target empty",
       1,
       {kTrackOther},
       {stopped, DeckMotion::empty()},
       LoadDecision::allowed(2)},
      {"short decks still find the song on deck 1",
       2,
       {DeckContent::track(kRequested.id)},
       {},
       LoadDecision::refused("That track is already on Deck 1.")},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(LoadSafety::decide(kRequested, focusOn(row.focus), row.decks, row.motion, {}, kSongKeys),
              row.expected)
        << row.name;
  }
}

}  // namespace
}  // namespace kesta
