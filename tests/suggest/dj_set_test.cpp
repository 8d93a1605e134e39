#include "suggest/dj_set.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "suggest/track_fixtures.h"

namespace kesta {
namespace {

using kesta::test::makeTrack;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::UnorderedElementsAreArray;
using Kind = SetEvent::Kind;

// A track named by one letter: title "Song <x>", artist "Artist <x>", key "k:<x>".
Track song(const std::string& x) {
  return makeTrack({.id = x, .title = "Song " + x, .artist = "Artist " + x});
}

SetEvent at(double date, Kind kind, const Track& track, std::optional<int> deck = 1,
            std::optional<Lane> lane = {}) {
  return SetEvent::make(kind, Date{date}, &track, lane, deck);
}
SetEvent replayAt(double date) { return SetEvent::make(Kind::replayEnabled, Date{date}, nullptr); }

DJSet setOf(std::vector<SetEvent> events, bool legacy = false) {
  DJSet set = DJSet::started(Date{0});
  set.events = std::move(events);
  set.legacy = legacy;
  return set;
}

const Track a = song("a"), b = song("b"), c = song("c"), d = song("d");

TEST(DJSetQueriesTest, UsedAndDismissedCountOnlySinceTheLastReplay) {
  const struct {
    std::string name;
    std::vector<SetEvent> events;
    std::vector<Track> used, dismissed;
  } cases[] = {
      {"empty set", {}, {}, {}},
      {"only shown", {at(0, Kind::shown, a, {}, Lane::groove)}, {}, {}},
      {"loaded, played, identified",
       {at(0, Kind::loaded, a), at(1, Kind::played, b), at(2, Kind::identified, c, 2)},
       {a, b, c},
       {}},
      {"only a dismissal", {at(0, Kind::dismissed, d, {}, Lane::raise)}, {}, {d}},
      {"replay last",
       {at(0, Kind::loaded, a), at(1, Kind::dismissed, d, {}, Lane::raise), replayAt(2)},
       {},
       {}},
      {"after the last of two replays",
       {at(0, Kind::loaded, a), replayAt(1), at(2, Kind::played, b), replayAt(3), at(4, Kind::loaded, c, 2),
        at(5, Kind::dismissed, d, {}, Lane::pivot)},
       {c},
       {d}},
  };
  for (const auto& test : cases) {
    SCOPED_TRACE(test.name);
    const DJSet set = setOf(test.events);
    std::vector<StableKey> usedKeys, dismissedKeys;
    std::vector<std::string> usedSongs;
    for (const auto& track : test.used) {
      usedKeys.push_back(track.key);
      usedSongs.push_back(track.songKey());
    }
    for (const auto& track : test.dismissed) dismissedKeys.push_back(track.key);
    EXPECT_THAT(set.usedKeys(), UnorderedElementsAreArray(usedKeys));
    EXPECT_THAT(set.usedSongs(), UnorderedElementsAreArray(usedSongs));
    EXPECT_THAT(set.dismissedKeys(), UnorderedElementsAreArray(dismissedKeys));
    EXPECT_EQ(set.hasReplayableHistory(), !usedKeys.empty() || !dismissedKeys.empty());
  }
}

TEST(DJSetQueriesTest, ReplayLeavesHistoryArtistsAndTransitionsAlone) {
  DJSet set = setOf(
      {at(0, Kind::loaded, a), at(1, Kind::played, a), at(2, Kind::loaded, b, 2), at(3, Kind::played, b)});
  const auto rows = set.entries();
  const auto artists = set.recentArtists();
  const auto transitions = set.playedTransitions();
  set.events.push_back(replayAt(4));
  EXPECT_EQ(set.entries(), rows);
  EXPECT_EQ(set.recentArtists(), artists);
  EXPECT_EQ(set.playedTransitions(), transitions);
  EXPECT_THAT(set.usedKeys(), IsEmpty());
}

TEST(DJSetQueriesTest, RecentArtistsAreThoseOfTheLastEightLoads) {
  std::vector<SetEvent> events;
  for (int i = 1; i <= 10; ++i) {
    const Track track = makeTrack({.id = std::to_string(i), .artist = "Artist No " + std::to_string(i)});
    events.push_back(at(i, Kind::loaded, track));
    if (i == 9) events.back().artist.reset();
    events.push_back(at(i + 0.5, Kind::played, track));  // plays are not loads
  }
  events.push_back(replayAt(20));
  EXPECT_THAT(setOf(events).recentArtists(), ElementsAre("artistno3", "artistno4", "artistno5", "artistno6",
                                                         "artistno7", "artistno8", "artistno10"));
  const Track blank = makeTrack({.id = "x", .artist = "!!"});
  EXPECT_THAT(
      setOf({at(0, Kind::loaded, a), at(1, Kind::loaded, blank, 2), at(2, Kind::loaded, a)}).recentArtists(),
      ElementsAre("artista", "", "artista"));
}

TEST(DJSetQueriesTest, PlayedTransitionsPairConsecutivePlays) {
  SetEvent keyless = at(2, Kind::played, c);
  keyless.trackKey.reset();
  const DJSet set = setOf({at(0, Kind::played, a), at(0.5, Kind::loaded, c), at(1, Kind::played, b, 2),
                           keyless, at(3, Kind::played, b, 2), at(4, Kind::played, c)});
  EXPECT_THAT(set.playedTransitions(),
              ElementsAre(DJSet::Transition{a.key, b.key}, DJSet::Transition{b.key, b.key},
                          DJSet::Transition{b.key, c.key}));
  EXPECT_THAT(setOf({at(0, Kind::played, a)}).playedTransitions(), IsEmpty());
}

TEST(DJSetEntriesTest, RowsFollowTheLoads) {
  SetEvent untitled = at(5, Kind::loaded, b);
  untitled.title.reset();
  SetEvent keyless = at(5, Kind::loaded, a);
  keyless.trackKey.reset();
  // Each expected row: its title, "+" when played, then the lane it was suggested as.
  const struct {
    std::string name;
    std::vector<SetEvent> events;
    std::vector<std::string> rows;
    bool legacy = false;
  } cases[] = {
      // clang-format off
      {"the same song on the other deck", {at(0, Kind::loaded, a), at(1, Kind::loaded, a, 2)}, {"Song a"}},
      {"A, B, A", {at(0, Kind::loaded, a), at(1, Kind::loaded, b, 2), at(2, Kind::loaded, a)},
       {"Song a", "Song b", "Song a"}},
      {"a play marks the latest row of its song",
       {at(0, Kind::loaded, a), at(1, Kind::loaded, b, 2), at(2, Kind::loaded, a), at(3, Kind::played, a)},
       {"Song a", "Song b", "Song a+"}},
      {"a play before the load", {at(0, Kind::played, a), at(1, Kind::loaded, a)}, {"Song a"}},
      {"legacy rows are played", {at(0, Kind::loaded, a), at(1, Kind::loaded, b, 2)}, {"Song a+", "Song b+"},
       true},
      {"the last lane shown before the load",
       {at(0, Kind::shown, a, {}, Lane::groove), at(1, Kind::shown, a, {}, Lane::pivot),
        at(2, Kind::loaded, a),
        at(3, Kind::shown, b, {}, Lane::raise), at(4, Kind::loaded, b, 2), at(5, Kind::loaded, a),
        at(6, Kind::shown, a, {}, Lane::breather)},
       {"Song a pivot", "Song b raise", "Song a pivot"}},
      {"shown only after the load", {at(0, Kind::loaded, a), at(1, Kind::shown, a, {}, Lane::groove)},
       {"Song a"}},
      {"untitled loads never repeat a row", {untitled, untitled}, {"", ""}},
      {"a load without a key", {keyless}, {}},
      {"dismissed, identified and replay make no rows",
       {at(0, Kind::dismissed, a, {}, Lane::groove), at(1, Kind::identified, a), replayAt(2)}, {}},
      // clang-format on
  };
  for (const auto& test : cases) {
    std::vector<std::string> rows;
    const auto entries = setOf(test.events, test.legacy).entries();
    for (std::size_t i = 0; i < entries.size(); ++i) {
      const auto& entry = entries[i];
      EXPECT_EQ(entry.id, static_cast<int>(i));
      rows.push_back(entry.title + (entry.played ? "+" : "") +
                     (entry.suggestedAs ? " " + std::string(entry.suggestedAs->id()) : ""));
    }
    EXPECT_EQ(rows, test.rows) << test.name;
  }
  EXPECT_EQ(setOf({at(42.5, Kind::loaded, a)}).entries().at(0),
            (DJSet::Entry{0, "Song a", "Artist a", Date{42.5}, false, std::nullopt}));
}

}  // namespace
}  // namespace kesta
