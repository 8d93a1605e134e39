#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "frame_script.h"
#include "live/load_tracker.h"

namespace kesta {
namespace {

using namespace script;

TEST(SameUnlistedText, ComparesTheHeadsWithinALimit) {
  struct Case {
    std::string a;
    std::string b;
    bool same;
    std::string why;
  };
  const std::string h23 = "abcdefghijklmnopqrstuvw";  // 23 characters: limit 2
  const std::string h24 = h23 + "x";                  // 24: limit 3
  const std::string h32 = h24 + "yzabcdef";           // 32: limit 4
  const auto edits = [](std::string text, int count) {
    for (int i = 0; i < count; ++i) text[static_cast<std::size_t>(i) * 2] = '#';
    return text;
  };
  const std::vector<Case> cases{
      {"ab", "ab", true, "equal texts, however short"},
      {"", "", true, "equal empty texts"},
      {"caf\xC3\xA9", "cafe\xCC\x81", true, "canonically equivalent spellings"},
      {"night|artist one", "night|artist two", false, "equal heads under 6 characters"},
      {"seventh|one", "sevinth|two", true, "7-character heads one edit apart"},
      {"fifth|one", "fifth|two", false, "5-character heads are never enough"},
      {"abcde|x", "abcdefg|x", false, "the shorter head decides the minimum"},
      {h23, edits(h23, 2), true, "23 characters allow 2 edits"},
      {h23, edits(h23, 3), false, "23 characters do not allow 3"},
      {h24, edits(h24, 3), true, "24 characters allow 3 edits"},
      {h24, edits(h24, 4), false, "24 characters do not allow 4"},
      {h32, edits(h32, 4), true, "32 characters allow 4 edits"},
      {h23 + "|artist", edits(h23, 2) + "|someone else", true, "only the heads count"},
      {"|abcdefg|x", "abcdefh", true, "a leading bar is skipped"},
      {"||||||", "|||||||", true, "a text of bars only is its own head"},
      {"|||", "||", false, "short texts of bars only"},
      {"cafe\xCC\x81s", "cafe\xCC\x81x", false, "characters, not scalars: five of them"},
      {"ABCDEFGH", "abcdefgh", false, "no case folding"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(LoadTracker::sameUnlistedText(c.a, c.b), c.same) << c.why;
    EXPECT_EQ(LoadTracker::sameUnlistedText(c.b, c.a), c.same) << c.why << " (swapped)";
  }
}

TEST(DeckStateEquality, LooksAtContentAndPendingCountOnly) {
  LoadTracker::DeckState a;
  a.confirmed = DeckContent::track("1");
  LoadTracker::DeckState b = a;
  b.confirmedAt = 12;
  b.lastClock = LoadTracker::ClockChange{40, 11};
  b.mixer = MixerReading{0.9, true};
  b.restorable = DeckContent::track("2");
  EXPECT_EQ(a, b);
  b.pending = DeckContent::empty();
  EXPECT_NE(a, b);
  b = a;
  b.pendingCount = 1;
  EXPECT_NE(a, b);
}

// Whether a reading counts as the confirmed content (the run stays empty) or as
// a change (a pending run starts).
TEST(LoadTrackerEquivalence, WhatCountsAsTheSameContent) {
  struct Case {
    std::string name;
    std::vector<Obs> confirming;
    Obs reading;
    bool same;
  };
  const std::vector<Obs> trackA{strong("A")};
  const std::vector<Obs> trackP{strong("P")};
  const std::vector<Obs> listAB{amb({"A", "B"}), amb({"A", "B"})};
  const std::vector<Obs> text(6, unmatched("seventh|one"));
  const std::vector<Obs> nothing{empty(), empty()};
  const std::vector<Case> cases{
      {"same id", trackA, normal("A"), true},
      {"another entry of the same song", trackA, normal("A2"), true},
      {"another song", trackA, normal("B"), false},
      {"ids without song keys", trackP, normal("Q"), false},
      {"a track against one without a song key", trackA, normal("P"), false},
      {"a list naming the track's song", trackA, amb({"A2", "C"}).changed(), true},
      {"an empty list", trackA, amb({}).changed(), false},
      {"lists sharing an id", listAB, amb({"B", "C"}), true},
      {"lists sharing no id", listAB, amb({"C", "Q"}), false},
      {"a track on the list", listAB, normal("B"), true},
      {"near-equal unlisted texts", text, unmatched("sevinth|two"), true},
      {"unlisted text against a track", text, normal("A"), false},
      {"empty against no title", nothing, noTitle(), true},
  };
  const auto songKeys = std::make_shared<const LoadTracker::SongKeys>(
      LoadTracker::SongKeys{{"A", "a|x"}, {"A2", "a|x"}, {"B", "b|x"}, {"C", "c|x"}});
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    LoadTracker::Config config;
    config.startupGrace = 1e9;
    LoadTracker tracker(songKeys, config);
    double time = 0;
    std::uint64_t seq = 1;
    for (const auto& obs : c.confirming)
      tracker.ingest({seq++, time += 0.25, obs.observation, DeckObservation::unreadable()});
    ASSERT_EQ(tracker.deck(1).pending, std::nullopt);
    tracker.ingest({seq, time + 0.25, c.reading.observation, DeckObservation::unreadable()});
    EXPECT_EQ(!tracker.deck(1).pending.has_value(), c.same);
  }
}

}  // namespace
}  // namespace kesta
