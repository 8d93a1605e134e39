#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "frame_script.h"
#include "live/load_tracker.h"

// What each deck is confirmed to hold. Deck 2 stays unread and the start-up
// wait is endless, so only loads move the focus here; start-up and focus have
// their own scripts.
namespace kesta {
namespace {

using namespace script;

const std::string kReason = "no pixel change for unresolved text";

LoadTracker::Config patient() {
  LoadTracker::Config config;
  config.startupGrace = 1e9;
  return config;
}

LoadTracker tracker(LoadTracker::SharedSongKeys songKeys = LoadTracker::noSongKeys()) {
  return LoadTracker(std::move(songKeys), patient());
}

const auto kSongKeys = std::make_shared<const LoadTracker::SongKeys>(LoadTracker::SongKeys{
    {"A", "song|one"}, {"A2", "song|one"}, {"B", "other|two"}, {"C", "third|three"}, {"X", "x|x"}});

TEST(LoadTrackerConfirmation, FramesNeededByReadingStrength) {
  struct Case {
    std::string name;
    std::vector<Step> steps;
  };
  const auto u = unreadable();
  const std::vector<Case> cases{
      {"a strong track confirms in its first frame", {{0.0, strong("A"), u, {E::initial(1, T("A"))}}}},
      {"a normal track needs a second frame",
       {{0.0, normal("A"), u, {}}, {0.25, normal("A"), u, {E::initial(1, T("A"))}}}},
      {"the second frame may come exactly at the window's end",
       {{0.0, normal("A"), u, {}}, {3.0, normal("A"), u, {E::initial(1, T("A"))}}}},
      {"frames 3.5 s apart restart the run",
       {{0.0, normal("A"), u, {}},
        {3.5, normal("A"), u, {}},
        {3.75, normal("A"), u, {E::initial(1, T("A"))}}}},
      {"an ambiguous reading needs two frames",
       {{0.0, amb({"A", "B"}), u, {}},
        {0.25, amb({"B", "C"}), u, {E::initial(1, C::ambiguous({"A", "B"}))}}}},
      {"unmatched text needs six frames",
       [] {
         auto steps = quiet(0.0, 0.25, 5, unmatched("night drive|someone"), unreadable());
         steps.push_back({1.25,
                          unmatched("night drive|someone"),
                          unreadable(),
                          {E::initial(1, C::unmatched("night drive|someone"))}});
         return steps;
       }()},
      {"unreadable frames neither count nor break a run",
       {{0.0, normal("A"), u, {}},
        {0.25, u, u, {}},
        {0.5, skipped(), u, {}},
        {0.75, normal("A"), u, {E::initial(1, T("A"))}}}},
      {"a differing reading restarts the run",
       {{0.0, normal("A"), u, {}},
        {0.25, normal("B"), u, {}},
        {0.5, normal("A"), u, {}},
        {0.75, normal("A"), u, {E::initial(1, T("A"))}}}},
      {"a first empty deck is confirmed silently", {{0.0, empty(), u, {}}, {0.25, empty(), u, {}}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    LoadTracker t = tracker(kSongKeys);
    play(t, c.steps);
  }
}

TEST(LoadTrackerConfirmation, ThresholdIsThatOfTheFrameAtHand) {
  LoadTracker t = tracker(kSongKeys);
  play(t, {
              {0.0, strong("X"), unreadable(), {E::initial(1, T("X"))}},
              // An ambiguous reading, then a normal track it lists: one run of two.
              {1.0, amb({"B", "C"}).changed(), unreadable(), {}},
              {1.25,
               normal("B"),
               unreadable(),
               {E::load(1, T("B"), T("X"), 1.0), focusOn(1, T("B"), 1, FocusKind::load, 1.25)}},
              // Another entry of the same song continues a run, and the latest id wins.
              {2.0, normal("A"), unreadable(), {}},
              {2.25,
               normal("A2"),
               unreadable(),
               {E::load(1, T("A2"), T("B"), 2.0), focusOn(1, T("A2"), 2, FocusKind::load, 2.25)}},
              // A reading of the confirmed song under another id changes nothing.
              {3.0, strong("A"), unreadable(), {}},
          });
  EXPECT_EQ(t.deck(1).confirmed, T("A2"));
}

TEST(LoadTrackerConfirmation, StaleFramesAreRejectedAndChangeNothing) {
  LoadTracker t = tracker();
  play(t, {
              {0.0, strong("A"), unreadable(), {E::initial(1, T("A"))}, 1},
              {0.25, normal("B"), unreadable(), {}, 2},
              {0.5, normal("B"), unreadable(), {E::staleFrameRejected(2)}, 2},
              {0.5, normal("B"), unreadable(), {E::staleFrameRejected(1)}, 1},
              {0.75,
               normal("B"),
               unreadable(),
               {E::load(1, T("B"), T("A"), 0.25), focusOn(1, T("B"), 1, FocusKind::load, 0.75)},
               3},
          });
}

TEST(LoadTrackerConfirmation, ResolvedAndUnresolvedContentRefines) {
  struct Case {
    std::string name;
    std::vector<Step> steps;
  };
  const auto u = unreadable();
  const std::string text = "night drive|someone";
  std::vector<Step> unmatchedFirst = quiet(0.0, 0.25, 5, unmatched(text), u);
  unmatchedFirst.push_back({1.25, unmatched(text), u, {E::initial(1, C::unmatched(text))}});

  auto thenQuietly = unmatchedFirst;
  thenQuietly.push_back({2.0, normal("A"), u, {}});
  thenQuietly.push_back({2.25, normal("A"), u, {E::refined(1, T("A"))}});

  auto thenWithAChange = unmatchedFirst;
  thenWithAChange.push_back({2.0, normal("A").changed(), u, {}});
  thenWithAChange.push_back(
      {2.25,
       normal("A").changed(false),
       u,
       {E::load(1, T("A"), C::unmatched(text), 2.0), focusOn(1, T("A"), 1, FocusKind::load, 2.25)}});

  const std::vector<Case> cases{
      {"an ambiguous deck reading one of its tracks is refined at once",
       {{0.0, amb({"A", "B"}), u, {}},
        {0.25, amb({"A", "B"}), u, {E::initial(1, C::ambiguous({"A", "B"}))}},
        {0.5, normal("B"), u, {E::refined(1, T("B"))}}}},
      {"an ambiguous deck reading another song of one of its tracks is refined too",
       {{0.0, amb({"A", "B"}), u, {}},
        {0.25, amb({"A", "B"}), u, {E::initial(1, C::ambiguous({"A", "B"}))}},
        {0.5, normal("A2"), u, {E::refined(1, T("A2"))}}}},
      {"an ambiguous deck replaced without a pixel change is refined",
       {{0.0, amb({"A", "B"}), u, {}},
        {0.25, amb({"A", "B"}), u, {E::initial(1, C::ambiguous({"A", "B"}))}},
        {0.5, amb({"C", "X"}), u, {}},
        {0.75, amb({"C", "X"}), u, {E::refined(1, C::ambiguous({"C", "X"}))}}}},
      {"unmatched text later matched without a change is refined", thenQuietly},
      {"unmatched text later matched after a change is a load", thenWithAChange},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    LoadTracker t = tracker(kSongKeys);
    play(t, c.steps);
  }
}

TEST(LoadTrackerConfirmation, UnloadAndTheTrackComingBack) {
  struct Case {
    std::string name;
    std::vector<Step> steps;
  };
  const auto u = unreadable();
  const Step first{0.0, strong("A"), u, {E::initial(1, T("A"))}};
  // Six no-title frames within 3.0 s of the first, unreadable ones in between.
  const std::vector<Step> inferredEmpty{
      {1.0, noTitle(), u, {}}, {1.25, u, u, {}},
      {1.5, noTitle(), u, {}}, {2.0, noTitle(), u, {}},
      {2.5, noTitle(), u, {}}, {3.0, skipped(), u, {}},
      {3.5, noTitle(), u, {}}, {4.0, noTitle(), u, {E::unload(1, T("A"))}},
  };
  const auto script = [&](std::vector<Step> tail) {
    std::vector<Step> steps{first};
    steps.insert(steps.end(), inferredEmpty.begin(), inferredEmpty.end());
    steps.insert(steps.end(), tail.begin(), tail.end());
    return steps;
  };

  const std::vector<Case> cases{
      {"the same track after a no-title spell is refined",
       script({{5.0, strong("A"), u, {E::refined(1, T("A"))}}})},
      {"another entry of the same song after a no-title spell is refined",
       script({{5.0, normal("A2"), u, {}}, {5.25, normal("A2"), u, {E::refined(1, T("A2"))}}})},
      {"a different track after a no-title spell is a load",
       script({{5.0,
                strong("B"),
                u,
                {E::load(1, T("B"), C::empty(), 5.0), focusOn(1, T("B"), 1, FocusKind::load, 5.0)}}})},
      {"explicit empty readings after a no-title spell keep the track restorable",
       script({{5.0, empty(), u, {}},
               {5.25, empty(), u, {}},
               {5.5, empty(), u, {}},
               {6.0, strong("A"), u, {E::refined(1, T("A"))}}})},
      {"the sixth no-title frame too late restarts the run",
       {first,
        {1.0, noTitle(), u, {}},
        {1.5, noTitle(), u, {}},
        {2.0, noTitle(), u, {}},
        {2.5, noTitle(), u, {}},
        {3.0, noTitle(), u, {}},
        {4.25, noTitle(), u, {}}}},
      {"no title, no title, then empty is an explicit unload",
       {first,
        {1.0, noTitle(), u, {}},
        {1.25, noTitle(), u, {}},
        {1.5, empty(), u, {E::unload(1, T("A"))}},
        {2.0,
         strong("A"),
         u,
         {E::load(1, T("A"), C::empty(), 2.0), focusOn(1, T("A"), 1, FocusKind::load, 2.0)}}}},
      {"empty then no title stays below the no-title threshold",
       {first, {1.0, empty(), u, {}}, {1.25, noTitle(), u, {}}}},
      {"two empty frames unload with nothing to restore",
       {first,
        {1.0, empty(), u, {}},
        {1.25, empty(), u, {E::unload(1, T("A"))}},
        {2.0,
         strong("A"),
         u,
         {E::load(1, T("A"), C::empty(), 2.0), focusOn(1, T("A"), 1, FocusKind::load, 2.0)}}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    LoadTracker t = tracker(kSongKeys);
    play(t, c.steps);
  }
}

TEST(LoadTrackerConfirmation, UnresolvedTextOnATrackDeckNeedsPixelChanges) {
  const std::string text = "unlisted tune|somebody";
  const auto u = unreadable();
  const E rejected = E::changeRejected(1, kReason);
  LoadTracker t = tracker();
  play(t, {
              {0.0, strong("A"), u, {E::initial(1, T("A"))}},
              {0.5, unmatched(text), u, {rejected}},
              {0.75, unmatched(text).changed(false), u, {rejected}},
              {1.0, unmatched(text).changed(), u, {}},
              {1.25, unmatched(text), u, {rejected}},
              {1.5, unmatched(text).changed(), u, {}},
              {1.75, unmatched(text).changed(), u, {}},
              {2.0, unmatched(text).changed(false), u, {rejected}},
              {2.25, unmatched(text).changed(), u, {}},
              {2.5, unmatched(text).changed(), u, {}},
              {2.75,
               unmatched(text).changed(),
               u,
               {E::load(1, C::unmatched(text), T("A"), 1.0),
                focusOn(1, C::unmatched(text), 1, FocusKind::load, 2.75)}},
          });

  LoadTracker late = tracker();
  play(late, {
                 {0.0, strong("A"), u, {E::initial(1, T("A"))}},
                 {1.0, unmatched(text).changed(), u, {}},
                 {1.5, unmatched(text).changed(), u, {}},
                 {2.0, unmatched(text).changed(), u, {}},
                 {2.5, unmatched(text).changed(), u, {}},
                 {3.0, unmatched(text).changed(), u, {}},
                 {4.5, unmatched(text).changed(), u, {}},  // past the window: a new run
             });
  EXPECT_EQ(late.deck(1).pendingCount, 1);

  LoadTracker ambiguous = tracker();
  play(ambiguous, {
                      {0.0, strong("A"), u, {E::initial(1, T("A"))}},
                      {0.5, amb({"B", "C"}), u, {rejected}},
                      {0.75, amb({"B", "C"}).changed(), u, {}},
                      {1.0,
                       amb({"C"}).changed(),
                       u,
                       {E::load(1, C::ambiguous({"B", "C"}), T("A"), 0.75),
                        focusOn(1, C::ambiguous({"B", "C"}), 1, FocusKind::load, 1.0)}},
                  });
}

TEST(LoadTrackerConfirmation, PlayEvidence) {
  struct Case {
    std::string name;
    std::vector<Step> steps;
  };
  const auto u = unreadable();
  const Step first{0.0, strong("A"), u, {E::initial(1, T("A"))}};
  const E played = E::playEvidence(1, "A");
  const std::vector<Case> cases{
      {"thirty readout seconds in thirty real seconds",
       {first, {1.0, strong("A").clock(10), u, {}}, {31.0, strong("A").clock(41), u, {played}}}},
      {"the readout may run up to three seconds ahead of real time",
       {first, {1.0, verified(10), u, {}}, {28.0, verified(40), u, {played}}}},
      {"a hundredth of a second beyond those three is no evidence and restarts the baseline",
       {first, {1.0, verified(10), u, {}}, {27.99, verified(40), u, {}}, {57.99, verified(70), u, {played}}}},
      {"a readout running faster than real time restarts the baseline",
       {first,
        {1.0, strong("A").clock(10), u, {}},
        {6.0, strong("A").clock(50), u, {}},
        {35.0, strong("A").clock(79), u, {}},
        {36.0, strong("A").clock(80), u, {played}}}},
      {"a readout going backwards restarts the baseline",
       {first,
        {1.0, verified(100), u, {}},
        {2.0, verified(5), u, {}},
        {33.0, verified(34), u, {}},
        {33.5, verified(35), u, {played}}}},
      {"evidence comes once per confirmed track",
       {first, {1.0, verified(10), u, {}}, {31.0, verified(41), u, {played}}, {62.0, verified(72), u, {}}}},
      {"a new track starts afresh",
       {first,
        {1.0, verified(10), u, {}},
        {31.0, verified(41), u, {played}},
        {32.0,
         strong("B").clock(0),
         u,
         {E::load(1, T("B"), T("A"), 32.0), focusOn(1, T("B"), 1, FocusKind::load, 32.0)}},
        {33.0, verified(1), u, {}},
        {63.0, verified(31), u, {E::playEvidence(1, "B")}}}},
      {"no evidence for a deck that holds no single track",
       {{0.0, amb({"A", "B"}), u, {}},
        {0.25, amb({"A", "B"}).clock(0), u, {E::initial(1, C::ambiguous({"A", "B"}))}},
        {1.0, verified(10), u, {}},
        {41.0, verified(50), u, {}}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    LoadTracker t = tracker(kSongKeys);
    play(t, c.steps);
  }
}

TEST(LoadTrackerConfirmation, EvidenceComesBeforeTheDecksChange) {
  LoadTracker t = tracker();
  play(t, {
              {0.0, strong("A"), unreadable(), {E::initial(1, T("A"))}},
              {1.0, verified(10), unreadable(), {}},
              {31.0,
               strong("B").clock(40),
               unreadable(),
               {E::playEvidence(1, "A"), E::load(1, T("B"), T("A"), 31.0),
                focusOn(1, T("B"), 1, FocusKind::load, 31.0)}},
          });
}

// The title-area comparison is absent whenever the reader cannot compare pixels
// (no anchor, or an anchor found noisy). On a deck that holds a track such
// frames never count for unresolved text, so an unlisted track loaded there
// is refused for as long as the comparison stays absent, while a listed track
// still loads.
TEST(LoadTrackerConfirmation, UnresolvedTextWithoutAnyPixelComparisonIsRefusedForGood) {
  const std::string text = "unlisted tune|somebody";
  LoadTracker t(kSongKeys);
  std::vector<Step> steps{
      {0.0, strong("A"), empty(), {E::initial(1, T("A"))}},
      {0.25, strong("A"), empty(), {focusOn(1, T("A"), 1, FocusKind::initial, 0.25)}},
  };
  for (int i = 0; i < 240; ++i)
    steps.push_back({1.0 + 0.25 * i, unmatched(text), empty(), {E::changeRejected(1, kReason)}});
  const std::uint64_t next = play(t, steps);
  EXPECT_EQ(t.deck(1).confirmed, T("A"));
  EXPECT_EQ(t.deck(1).pending, std::nullopt);

  play(t,
       {{61.0, normal("B"), empty(), {}},
        {61.25,
         normal("B"),
         empty(),
         {E::load(1, T("B"), T("A"), 61.0), focusOn(1, T("B"), 2, FocusKind::load, 61.25)}}},
       next);
}

}  // namespace
}  // namespace kesta
