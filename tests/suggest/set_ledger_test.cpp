#include "suggest/set_ledger.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>
#include <string>
#include <unordered_set>
#include <vector>

#include "platform/json/json_coding.h"
#include "suggest/track_fixtures.h"

namespace kesta {
namespace {

using kesta::test::makeTrack;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using Kind = SetEvent::Kind;
using Transition = DJSet::Transition;

Track song(const std::string& x) {
  return makeTrack({.id = x, .title = "Song " + x, .artist = "Artist " + x});
}
Suggestion suggestion(Lane lane, const Track& track) { return Suggestion{lane, track, "why", std::nullopt}; }

std::vector<Kind> kinds(const DJSet& set) {
  std::vector<Kind> out;
  for (const auto& event : set.events) out.push_back(event.kind);
  return out;
}

const Track a = song("a"), b = song("b");

TEST(SetLedgerTest, ShownOncePerLaneAndTrackUntilTheFocusChanges) {
  SetLedger ledger(DJSet::started(Date{0}));
  ledger.shown(suggestion(Lane::groove, a), Date{1});
  ledger.shown(suggestion(Lane::groove, a), Date{2});
  ledger.shown(suggestion(Lane::pivot, a), Date{3});
  EXPECT_EQ(ledger.set().events.size(), 2u);
  ledger.focusChanged();
  ledger.shown(suggestion(Lane::groove, a), Date{4});
  ASSERT_EQ(ledger.set().events.size(), 3u);
  EXPECT_EQ(ledger.set().events.back(), SetEvent::make(Kind::shown, Date{4}, &a, Lane::groove));
}

TEST(SetLedgerTest, LoadedRecordsAChangeOfTheDecksTrack) {
  struct Load {
    const Track* track;
    int deck;
    bool recorded;
  };
  const std::vector<Load> cases[] = {
      {{&a, 1, true}, {&a, 1, false}},
      {{&a, 1, true}, {&b, 2, true}, {&a, 2, true}, {&a, 1, false}},  // the other deck does not matter
      {{&a, 1, true}, {&b, 1, true}, {&a, 1, true}},
  };
  for (const auto& loads : cases) {
    SetLedger ledger(DJSet::started(Date{0}));
    std::size_t recorded = 0;
    for (const auto& load : loads) {
      EXPECT_EQ(ledger.loaded(*load.track, load.deck, Date{1.0 + recorded}), load.recorded);
      recorded += load.recorded ? 1 : 0;
      EXPECT_EQ(ledger.set().events.size(), recorded);
    }
  }
  SetLedger ledger(DJSet::started(Date{0}));
  ledger.loaded(a, 1, Date{1});
  ledger.replay(Date{2});
  EXPECT_FALSE(ledger.loaded(a, 1, Date{3}));  // a replay does not matter either
}

TEST(SetLedgerTest, PlayedCountsOncePerLoad) {
  SetLedger once(DJSet::started(Date{0}));
  once.loaded(a, 1, Date{1});
  EXPECT_EQ(once.played(a, 1, Date{2}), std::nullopt);  // the set's first play pairs with nothing
  EXPECT_EQ(once.played(a, 1, Date{3}), std::nullopt);
  EXPECT_THAT(kinds(once.set()), ElementsAre(Kind::loaded, Kind::played));

  SetLedger unloaded(DJSet::started(Date{0}));
  unloaded.played(a, 1, Date{1});  // never loaded: counts once
  unloaded.played(a, 2, Date{2});
  unloaded.loaded(a, 1, Date{3});
  unloaded.played(a, 1, Date{4});
  EXPECT_THAT(kinds(unloaded.set()), ElementsAre(Kind::played, Kind::loaded, Kind::played));

  SetLedger pairs(DJSet::started(Date{0}));
  pairs.loaded(a, 1, Date{1});
  pairs.played(a, 1, Date{2});
  pairs.loaded(b, 2, Date{3});
  EXPECT_EQ(pairs.played(b, 2, Date{4}), (Transition{a.key, b.key}));
  pairs.loaded(a, 2, Date{5});
  EXPECT_EQ(pairs.played(a, 1, Date{6}), (Transition{b.key, a.key}));  // the deck takes no part
  EXPECT_EQ(pairs.set().events.at(5).deck, 1);
}

TEST(SetLedgerTest, DismissalsAppendAndUndoRemovesTheLatest) {
  SetLedger ledger(DJSet::started(Date{0}));
  EXPECT_FALSE(ledger.undoDismissal(a));
  EXPECT_THAT(ledger.set().events, IsEmpty());
  ledger.dismissed(a, Lane::groove, Date{1});
  ledger.dismissed(b, Lane::raise, Date{2});
  ledger.dismissed(a, Lane::pivot, Date{3});
  ledger.identified(b, 2, Date{4});
  EXPECT_TRUE(ledger.undoDismissal(a));
  EXPECT_THAT(ledger.set().events,
              ElementsAre(SetEvent::make(Kind::dismissed, Date{1}, &a, Lane::groove),
                          SetEvent::make(Kind::dismissed, Date{2}, &b, Lane::raise),
                          SetEvent::make(Kind::identified, Date{4}, &b, std::nullopt, 2)));
  EXPECT_TRUE(ledger.undoDismissal(a));
  EXPECT_FALSE(ledger.undoDismissal(a));
  EXPECT_EQ(ledger.set().dismissedKeys(), std::unordered_set<StableKey>{b.key});
}

TEST(SetLedgerTest, ReplayOnAnEmptySet) {
  SetLedger ledger(DJSet::started(Date{0}));
  ledger.replay(Date{1});
  EXPECT_THAT(kinds(ledger.set()), ElementsAre(Kind::replayEnabled));
  EXPECT_FALSE(ledger.set().hasReplayableHistory());
  ledger.identified(a, 1, Date{2});
  EXPECT_EQ(ledger.set().usedKeys(), std::unordered_set<StableKey>{a.key});
}

// A long evening through the ledger, its expected history kept by the script:
// shows (redrawn), dismissals, loads on alternating decks (each confirmed
// twice, some repeating the previous song under another entry), plays, and a
// replay half-way.
TEST(SetLedgerTest, ScriptedSetGivesTheRightHistory) {
  std::vector<Track> library;
  for (int i = 0; i < 24; ++i) library.push_back(song(std::to_string(i)));
  library.push_back(makeTrack({.id = "3b", .title = "Song 3", .artist = "Artist 3", .key = "k:3-copy"}));

  struct Row {
    std::string title;
    bool played;
    std::string lane;
  };
  std::vector<Row> rows;
  std::vector<Transition> transitions;
  std::optional<StableKey> lastPlayed;
  std::map<std::string, std::string> lastShownLane;
  std::map<int, std::string> deckHolds;
  std::unordered_set<std::string> playedSinceLoad;
  std::unordered_set<StableKey> used, dismissed;
  std::mt19937 random(20240611);
  SetLedger ledger(DJSet::started(Date{0}));
  double clock = 1;
  const auto now = [&] { return Date{clock += 1.5}; };

  for (int step = 0, deck = 1; step < 60; ++step, deck = 3 - deck) {
    if (step == 30) {
      ledger.replay(now());
      used.clear();
      dismissed.clear();
    }
    ledger.focusChanged();
    std::vector<const Track*> shown;
    for (const Lane lane : Lane::allCases()) {
      shown.push_back(&library[random() % library.size()]);
      ledger.shown(suggestion(lane, *shown.back()), now());
      ledger.shown(suggestion(lane, *shown.back()), now());
      lastShownLane[shown.back()->key.raw] = lane.id();
    }
    if (step % 5 == 0) {
      ledger.dismissed(*shown[0], Lane::groove, now());
      dismissed.insert(shown[0]->key);
    }

    const Track& next = step % 7 == 3 ? library[3] : step % 7 == 4 ? library[24] : *shown[random() % 4];
    const bool changed = deckHolds[deck] != next.key.raw;
    EXPECT_EQ(ledger.loaded(next, deck, now()), changed) << step;
    EXPECT_FALSE(ledger.loaded(next, deck, now()));
    if (changed) {
      deckHolds[deck] = next.key.raw;
      playedSinceLoad.erase(next.key.raw);
      used.insert(next.key);
      if (rows.empty() || rows.back().title != next.title)
        rows.push_back(Row{next.title, false, lastShownLane[next.key.raw]});
    }
    if (step % 4 == 1) continue;
    const auto transition = ledger.played(next, deck, now());
    if (!playedSinceLoad.insert(next.key.raw).second) {
      EXPECT_EQ(transition, std::nullopt) << step;
      continue;
    }
    used.insert(next.key);
    const auto row =
        std::find_if(rows.rbegin(), rows.rend(), [&](const Row& r) { return r.title == next.title; });
    if (row != rows.rend()) row->played = true;
    if (lastPlayed) transitions.push_back(Transition{*lastPlayed, next.key});
    EXPECT_EQ(transition, lastPlayed ? std::optional(transitions.back()) : std::nullopt) << step;
    lastPlayed = next.key;
  }

  const DJSet& set = ledger.set();
  EXPECT_GT(set.events.size(), 250u);
  const auto entries = set.entries();
  EXPECT_LT(entries.size(), 60u);  // repeats of the previous song made no row
  ASSERT_EQ(entries.size(), rows.size());
  for (std::size_t i = 0; i < rows.size(); ++i) {
    EXPECT_EQ(entries[i].title, rows[i].title) << i;
    EXPECT_EQ(entries[i].played, rows[i].played) << i;
    EXPECT_EQ(entries[i].suggestedAs ? entries[i].suggestedAs->id() : "", rows[i].lane) << i;
  }
  EXPECT_EQ(set.playedTransitions(), transitions);
  EXPECT_EQ(set.usedKeys(), used);
  EXPECT_EQ(set.dismissedKeys(), dismissed);
  EXPECT_EQ(DJSet::fromJson(json::parse(json::write(set.toJson()))), set);
}

}  // namespace
}  // namespace kesta
