#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "frame_script.h"
#include "live/load_tracker.h"

// Which deck the DJ mixes from: start-up, loads, the DJ's own choice and the
// audible deck.
namespace kesta {
namespace {

using namespace script;

const auto kSongKeys = std::make_shared<const LoadTracker::SongKeys>(
    LoadTracker::SongKeys{{"A", "a|a"}, {"B", "b|b"}, {"C", "c|c"}, {"D", "d|d"}});

TEST(LoadTrackerStartup, OneLoadedDeck) {
  struct Case {
    std::string name;
    std::vector<Step> steps;
  };
  const std::vector<Case> cases{
      {"waits for the other deck until the grace has passed",
       {{0.0, strong("A"), unreadable(), {E::initial(1, T("A"))}},
        {1.0, strong("A"), unreadable(), {}},
        {1.99, skipped(), unreadable(), {}},
        {2.0, skipped(), unreadable(), {focusOn(1, T("A"), 1, FocusKind::initial, 2.0)}}}},
      {"or until the other deck is confirmed",
       {{0.0, strong("A"), empty(), {E::initial(1, T("A"))}},
        {0.25, strong("A"), empty(), {focusOn(1, T("A"), 1, FocusKind::initial, 0.25)}}}},
      {"the loaded deck may be deck 2",
       {{0.0, noTitle(), normal("B"), {}},
        {0.25,
         empty(),
         normal("B"),
         {E::initial(2, T("B")), focusOn(2, T("B"), 1, FocusKind::initial, 0.25)}},
        {0.5, empty(), normal("B"), {}}}},
      {"with no loaded deck the decision waits for a load",
       {{0.0, empty(), empty(), {}},
        {0.25, empty(), empty(), {}},
        {3.0, empty(), empty(), {}},
        {3.25,
         empty(),
         strong("B"),
         {E::load(2, T("B"), C::empty(), 3.25), focusOn(2, T("B"), 1, FocusKind::load, 3.25)}}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    LoadTracker tracker(kSongKeys);
    play(tracker, c.steps);
    EXPECT_EQ(tracker.phase(), TrackerPhase::following);
  }
}

TEST(LoadTrackerStartup, TwoLoadedDecksAreAmbiguousUntilOneEmpties) {
  LoadTracker tracker(kSongKeys);
  play(tracker, {
                    {0.0,
                     strong("A"),
                     strong("B"),
                     {E::initial(1, T("A")), E::initial(2, T("B")), E::startupAmbiguous()}},
                    {0.25, strong("A"), strong("B"), {}},
                    {0.5, strong("A"), empty(), {}},
                });
  EXPECT_EQ(tracker.phase(), TrackerPhase::ambiguousStartup);
  EXPECT_EQ(tracker.focus(), std::nullopt);
  play(
      tracker,
      {{0.75, strong("A"), empty(), {E::unload(2, T("B")), focusOn(1, T("A"), 1, FocusKind::initial, 0.75)}}},
      4);
  EXPECT_EQ(tracker.phase(), TrackerPhase::following);
}

// Deck 1 holds A, deck 2 holds B, the focus is on deck 2 (seq 2, kind load).
LoadTracker followingDeck2(std::uint64_t& nextSeq) {
  LoadTracker tracker(kSongKeys);
  nextSeq =
      play(tracker, {
                        {0.0, strong("A"), empty(), {E::initial(1, T("A"))}},
                        {0.25, strong("A"), empty(), {focusOn(1, T("A"), 1, FocusKind::initial, 0.25)}},
                        {1.0,
                         strong("A"),
                         strong("B"),
                         {E::load(2, T("B"), C::empty(), 1.0), focusOn(2, T("B"), 2, FocusKind::load, 1.0)}},
                    });
  return tracker;
}

TEST(LoadTrackerFocus, TwoLoadsInOneFrameClearTheFocus) {
  std::uint64_t seq = 0;
  LoadTracker tracker = followingDeck2(seq);
  seq = play(tracker,
             {{2.0,
               strong("C"),
               strong("D"),
               {E::load(1, T("C"), T("A"), 2.0), E::load(2, T("D"), T("B"), 2.0), E::startupAmbiguous()}}},
             seq);
  EXPECT_EQ(tracker.phase(), TrackerPhase::ambiguousStartup);
  EXPECT_EQ(tracker.focus(), std::nullopt);
  play(tracker,
       {{2.5, empty(), strong("D"), {}},
        {2.75, empty(), strong("D"), {E::unload(1, T("C")), focusOn(2, T("D"), 3, FocusKind::load, 2.75)}},
        {3.0,
         strong("A"),
         strong("D"),
         {E::load(1, T("A"), C::empty(), 3.0), focusOn(1, T("A"), 4, FocusKind::load, 3.0)}}},
       seq);
}

TEST(LoadTrackerFocus, UnloadAndRefinementOfTheFocusDeck) {
  LoadTracker tracker(kSongKeys);
  std::vector<Step> steps{
      {0.0, amb({"A", "B"}), empty(), {}},
      {0.25,
       amb({"A", "B"}),
       empty(),
       {E::initial(1, C::ambiguous({"A", "B"})),
        focusOn(1, C::ambiguous({"A", "B"}), 1, FocusKind::initial, 0.25)}},
      {0.5, normal("A"), empty(), {E::refined(1, T("A")), focusOn(1, T("A"), 1, FocusKind::initial, 0.25)}},
  };
  for (int i = 0; i < 5; ++i) steps.push_back({1.0 + 0.25 * i, noTitle(), empty(), {}});
  steps.push_back({2.25,
                   noTitle(),
                   empty(),
                   {E::unload(1, T("A")), focusOn(1, T("A"), 1, FocusKind::initial, 0.25, true)}});
  steps.push_back(
      {3.0, strong("A"), empty(), {E::refined(1, T("A")), focusOn(1, T("A"), 1, FocusKind::initial, 0.25)}});
  play(tracker, steps);
}

TEST(LoadTrackerFocus, ADeckThatLostTheFocusToALoadIsNotFollowedUp) {
  LoadTracker tracker(kSongKeys);
  play(tracker, {
                    {0.0, amb({"A", "B"}), empty(), {}},
                    {0.25,
                     amb({"A", "B"}),
                     empty(),
                     {E::initial(1, C::ambiguous({"A", "B"})),
                      focusOn(1, C::ambiguous({"A", "B"}), 1, FocusKind::initial, 0.25)}},
                    {1.0,
                     normal("A"),
                     strong("C"),
                     {E::refined(1, T("A")), E::load(2, T("C"), C::empty(), 1.0),
                      focusOn(2, T("C"), 2, FocusKind::load, 1.0)}},
                });
}

TEST(LoadTrackerUserChoice, ChooseDeck) {
  std::uint64_t seq = 0;
  LoadTracker tracker = followingDeck2(seq);
  const auto focusBefore = tracker.focus();
  for (const int deck : {0, 3, -1}) EXPECT_TRUE(tracker.chooseDeck(deck, 5.0).empty()) << deck;

  play(tracker, {{2.0, empty(), strong("B"), {}}, {2.25, empty(), strong("B"), {E::unload(1, T("A"))}}}, seq);
  EXPECT_TRUE(tracker.chooseDeck(1, 5.0).empty());
  EXPECT_EQ(tracker.focus(), focusBefore);
  EXPECT_EQ(tracker.phase(), TrackerPhase::following);

  EXPECT_EQ(tracker.chooseDeck(2, 5.0), (std::vector{focusOn(2, T("B"), 3, FocusKind::userChoice, 5.0)}));
  EXPECT_EQ(tracker.chooseDeck(2, 6.0, FocusKind::resumed),
            (std::vector{focusOn(2, T("B"), 4, FocusKind::resumed, 6.0)}));
}

TEST(LoadTrackerUserChoice, ChooseDeckEndsAStartupAmbiguity) {
  LoadTracker tracker(kSongKeys);
  play(tracker, {{0.0,
                  strong("A"),
                  strong("B"),
                  {E::initial(1, T("A")), E::initial(2, T("B")), E::startupAmbiguous()}}});
  EXPECT_EQ(tracker.chooseDeck(2, 0.1), (std::vector{focusOn(2, T("B"), 1, FocusKind::userChoice, 0.1)}));
  EXPECT_EQ(tracker.phase(), TrackerPhase::following);
}

TEST(LoadTrackerUserChoice, Resolve) {
  std::uint64_t seq = 0;
  LoadTracker tracker = followingDeck2(seq);
  EXPECT_TRUE(tracker.resolve(0, "C").empty());
  EXPECT_TRUE(tracker.resolve(3, "C").empty());
  EXPECT_EQ(tracker.resolve(1, "C"), (std::vector{E::refined(1, T("C"))}));
  EXPECT_EQ(tracker.deck(1).confirmed, T("C"));
  EXPECT_EQ(tracker.resolve(2, "D"),
            (std::vector{E::refined(2, T("D")), focusOn(2, T("D"), 2, FocusKind::load, 1.0)}));

  // On an unloaded focus deck the name is taken but the deck stays unloaded.
  play(tracker,
       {{2.0, strong("C"), empty(), {}},
        {2.25,
         strong("C"),
         empty(),
         {E::unload(2, T("D")), focusOn(2, T("D"), 2, FocusKind::load, 1.0, true)}}},
       seq);
  EXPECT_EQ(tracker.resolve(2, "B"),
            (std::vector{E::refined(2, T("B")), focusOn(2, T("B"), 2, FocusKind::load, 1.0, true)}));
}

// The audible-deck rule: the other deck plays with its channel open while the
// focus deck's channel is not.
struct Mix {
  double focusFader = 0.3;
  double otherFader = 0.5;
  bool focusRuns = true;
  bool otherRuns = true;
};

// Frames every 0.25 s from `from`, focus on deck `focusDeck`; readouts that
// run change every frame, readouts that stand still show 200.
std::vector<Step> mixing(double from, int count, int focusDeck, Mix mix = {}) {
  std::vector<Step> steps;
  for (int i = 0; i < count; ++i) {
    const int running = 100 + static_cast<int>(std::lround((from + 0.25 * i) * 4));
    const Obs focus = verified(mix.focusRuns ? running : 200).mixer(mix.focusFader);
    const Obs other = verified(mix.otherRuns ? running : 200).mixer(mix.otherFader);
    const double time = from + 0.25 * i;
    steps.push_back(focusDeck == 1 ? Step{time, focus, other, {}} : Step{time, other, focus, {}});
  }
  return steps;
}

// Deck 2 holds B from the start, then A is loaded on deck 1: focus deck 1, kind load, seq 2.
LoadTracker focusLoadedOnDeck1(std::uint64_t& nextSeq, LoadTracker::Config config = {}) {
  LoadTracker tracker(kSongKeys, config);
  nextSeq =
      play(tracker, {
                        {0.0, empty(), strong("B"), {E::initial(2, T("B"))}},
                        {0.25, empty(), strong("B"), {focusOn(2, T("B"), 1, FocusKind::initial, 0.25)}},
                        {0.5,
                         strong("A").mixer(0.3),
                         strong("B").mixer(0.5),
                         {E::load(1, T("A"), C::empty(), 0.5), focusOn(1, T("A"), 2, FocusKind::load, 0.5)}},
                    });
  return tracker;
}

TEST(LoadTrackerAudible, SwitchesInTheEighthCountingFrame) {
  std::uint64_t seq = 0;
  LoadTracker tracker = focusLoadedOnDeck1(seq);
  auto steps = mixing(0.75, 8, 1);
  steps.back().events = {focusOn(2, T("B"), 3, FocusKind::audible, 2.5)};
  seq = play(tracker, steps, seq);

  // Deck 2 now stands still for more than the playing window while its channel
  // stays open; an audible focus moves on all the same once deck 1 plays open.
  seq = play(tracker, mixing(2.75, 12, 2, {.focusFader = 0.8, .otherFader = 0.2, .focusRuns = false}), seq);
  steps = mixing(5.75, 8, 2, {.focusFader = 0.2, .otherFader = 0.8, .focusRuns = false});
  steps.back().events = {focusOn(1, T("A"), 4, FocusKind::audible, 7.5)};
  play(tracker, steps, seq);
}

TEST(LoadTrackerAudible, ANonCountingFrameRestartsTheCount) {
  struct Case {
    std::string name;
    Mix breaking;
  };
  const std::vector<Case> cases{
      {"focus channel open", {.focusFader = 0.6}},
      {"other channel not open", {.otherFader = 0.45}},
      {"other fader not a number", {.otherFader = std::numeric_limits<double>::quiet_NaN()}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::uint64_t seq = 0;
    LoadTracker tracker = focusLoadedOnDeck1(seq);
    auto steps = mixing(0.75, 3, 1);
    const auto odd = mixing(1.5, 1, 1, c.breaking);
    steps.insert(steps.end(), odd.begin(), odd.end());
    const auto rest = mixing(1.75, 8, 1);
    steps.insert(steps.end(), rest.begin(), rest.end());
    steps.back().events = {focusOn(2, T("B"), 3, FocusKind::audible, 3.5)};
    play(tracker, steps, seq);
  }
}

TEST(LoadTrackerAudible, OnlyAnAudibleFocusMayMoveFromAStoppedDeck) {
  std::uint64_t seq = 0;
  LoadTracker tracker = focusLoadedOnDeck1(seq);
  seq = play(tracker, mixing(0.75, 12, 1, {.focusFader = 0.8, .otherFader = 0.2, .focusRuns = false}), seq);
  play(tracker, mixing(3.75, 24, 1, {.focusRuns = false}), seq);
  EXPECT_EQ(tracker.focus()->deck, 1);
}

TEST(LoadTrackerAudible, AMixerReadingCountsForOneSecond) {
  std::uint64_t seq = 0;
  LoadTracker tracker = focusLoadedOnDeck1(seq);
  auto steps = mixing(0.75, 12, 1);
  // Deck 2's channel read only in the first frame: it stays fresh through 1.75 s.
  for (std::size_t i = 1; i < steps.size(); ++i) steps[i].deck2.observation.mixer.reset();
  play(tracker, steps, seq);

  LoadTracker fresh = focusLoadedOnDeck1(seq);
  steps = mixing(0.75, 8, 1);
  for (std::size_t i = 1; i < 5; ++i) steps[i].deck2.observation.mixer.reset();
  steps.back().events = {focusOn(2, T("B"), 3, FocusKind::audible, 2.5)};
  play(fresh, steps, seq);
}

TEST(LoadTrackerAudible, WhoMayBeMoved) {
  struct Case {
    std::string name;
    FocusKind chosenAs;
    bool moves;
  };
  const std::vector<Case> cases{{"the DJ's choice stays", FocusKind::userChoice, false},
                                {"a resumed focus moves", FocusKind::resumed, true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::uint64_t seq = 0;
    LoadTracker tracker = focusLoadedOnDeck1(seq);
    ASSERT_EQ(tracker.chooseDeck(1, 0.6, c.chosenAs).size(), 1u);
    auto steps = mixing(0.75, 12, 1);
    if (c.moves) steps[7].events = {focusOn(2, T("B"), 4, FocusKind::audible, 2.5)};
    play(tracker, steps, seq);
    EXPECT_EQ(tracker.focus()->deck, c.moves ? 2 : 1);
  }

  LoadTracker::Config off;
  off.followAudibleDeck = false;
  std::uint64_t seq = 0;
  LoadTracker tracker = focusLoadedOnDeck1(seq, off);
  play(tracker, mixing(0.75, 12, 1), seq);
}

TEST(LoadTrackerAudible, NoCountingInAFrameWithALoad) {
  std::uint64_t seq = 0;
  LoadTracker tracker = focusLoadedOnDeck1(seq);
  auto steps = mixing(0.75, 7, 1);
  // The seventh frame also loads C on deck 2: the focus goes there by the load.
  steps.back().deck2 = strong("C").clock(999).mixer(0.5);
  steps.back().events = {E::load(2, T("C"), T("B"), 2.25), focusOn(2, T("C"), 3, FocusKind::load, 2.25)};
  play(tracker, steps, seq);
}

}  // namespace
}  // namespace kesta
