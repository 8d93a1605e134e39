#include "suggest/recommender.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "suggest/track_fixtures.h"

namespace kesta {
namespace {

using kesta::test::makeTrack;
using kesta::test::optionIds;
using kesta::test::tracks;
using kesta::test::TrackSpec;
using Recommender::Relation;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using KeyRelation = MusicalKey::Relation;

TEST(RecommenderTest, TempoPicksTheClosestOfPlainDoubledAndHalved) {
  const struct {
    double from, to, percent;
    bool doubleTime;
  } cases[] = {
      {120, 120, 0.0, false},
      {120, 60, 0.0, true},
      {120, 240, 0.0, true},
      {128, 66, 3.125, true},
      {100, 103, 3.0000000000000027, false},
      {100, 102.9, 2.9000000000000137, false},
      {100, 88, -12.0, false},
      {100, 112, 12.00000000000001, false},
  };
  for (const auto& c : cases) {
    const auto match = Recommender::tempoPercent(c.from, c.to);
    EXPECT_EQ(match.percent, c.percent) << c.from << "→" << c.to;  // exact: the lane bounds compare these
    EXPECT_EQ(match.doubleTime, c.doubleTime) << c.from << "→" << c.to;
  }
}

TEST(RecommenderTest, EligibilityBoundsAreInclusive) {
  const std::optional<KeyRelation> none, same = KeyRelation::same(), diagonal = KeyRelation::diagonal(),
                                         adjacent = KeyRelation::adjacent(),
                                         twoSteps = KeyRelation::change(2), sixSteps = KeyRelation::change(6);
  const std::optional<int> noDelta;
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const struct {
    Lane lane;
    double t;
    std::optional<KeyRelation> key;
    std::optional<int> delta;
    bool fits;
  } cases[] = {
      // clang-format off
      {Lane::groove, 3.0, same, noDelta, true},     {Lane::groove, -3.0, none, noDelta, true},
      {Lane::groove, 3.0000000000000027, same, noDelta, false},
      {Lane::groove, 0.0, diagonal, 1, true},       {Lane::groove, 0.0, same, -2, false},
      {Lane::groove, 0.0, twoSteps, noDelta, false}, {Lane::groove, nan, none, noDelta, false},
      {Lane::raise, 1.5, same, noDelta, true},      {Lane::raise, 1.4, same, noDelta, false},
      {Lane::raise, 3.0000000000000027, none, noDelta, true},
      {Lane::raise, 6.0, none, noDelta, true},      {Lane::raise, 6.01, none, noDelta, false},
      {Lane::raise, 3.0, same, 0, false},           {Lane::raise, -1.5, same, 1, true},
      {Lane::raise, -1.6, same, 1, false},          {Lane::raise, 6.0, same, 3, true},
      {Lane::raise, 3.0, same, 4, false},           {Lane::raise, 3.0, twoSteps, 2, false},
      {Lane::breather, -2.5, same, noDelta, true},  {Lane::breather, -2.4, same, noDelta, false},
      {Lane::breather, -10.0, none, noDelta, true}, {Lane::breather, -10.1, none, noDelta, false},
      {Lane::breather, 1.5, same, -1, true},        {Lane::breather, 1.6, same, -1, false},
      {Lane::breather, -10.0, same, -3, true},      {Lane::breather, -3.0, same, 0, false},
      {Lane::breather, -3.0, same, -4, false},
      {Lane::pivot, 0.0, none, noDelta, false},     {Lane::pivot, 0.0, adjacent, noDelta, false},
      {Lane::pivot, 6.0, twoSteps, noDelta, true},  {Lane::pivot, -6.0, sixSteps, noDelta, true},
      {Lane::pivot, 6.1, twoSteps, noDelta, false}, {Lane::pivot, 0.0, twoSteps, -2, true},
      {Lane::pivot, 0.0, twoSteps, 3, false},       {Lane::pivot, nan, twoSteps, noDelta, false},
      // clang-format on
  };
  for (const auto& c : cases)
    EXPECT_EQ(Recommender::eligible(c.lane, Relation{c.t, false, c.key, c.delta}), c.fits)
        << c.lane.id() << " t=" << c.t << " d=" << c.delta.value_or(99);
}

TEST(RecommenderTest, ScoresAddTheirTerms) {
  const Relation plain{0.0, false, KeyRelation::same(), std::nullopt};  // groove: 6.0 before other terms
  const struct {
    std::string name;
    Lane lane;
    Relation relation;
    TrackSpec current, candidate;
    double expected;
    std::vector<std::string> recentArtists = {};
    std::optional<int> rating = {}, pairCount = {};
  } cases[] = {
      // clang-format off
      {"groove worked", Lane::groove, {2.0, false, KeyRelation::adjacent(), 1},
       {.id = "c", .genre = "Techno"}, {.id = "x", .genre = "techno", .playCount = 3, .stars = 4}, -5.5},
      {"raise worked", Lane::raise, {2.5, false, KeyRelation::relative(), 2}, {.id = "c", .genre = "House"},
       {.id = "x", .genre = "Techno"}, 0.5},
      {"breather worked", Lane::breather, {-3.0, false, KeyRelation::same(), -2}, {.id = "c"},
       {.id = "x", .genre = "House"}, 6.0},
      {"pivot worked", Lane::pivot, {-2.0, false, KeyRelation::change(3), {}},
       {.id = "c", .camelot = "8A", .genre = "House"}, {.id = "x", .camelot = "11B", .genre = "Techno"}, 6.0},
      {"pivot at double time", Lane::pivot, {-2.0, true, KeyRelation::change(3), {}},
       {.id = "c", .camelot = "8A", .genre = "House"}, {.id = "x", .camelot = "11B", .genre = "Techno"}, 2.0},
      {"pivot two steps, same mode and genre", Lane::pivot, {0.0, false, KeyRelation::change(2), {}},
       {.id = "c", .camelot = "8A", .genre = "House"}, {.id = "x", .camelot = "10A", .genre = "house"}, 3.0},
      {"groove without key", Lane::groove, {1.0, false, {}, {}}, {.id = "c"}, {.id = "x"}, -9.0},
      {"raise without energy", Lane::raise, {4.0, false, KeyRelation::diagonal(), {}},
       {.id = "c"}, {.id = "x"}, -3.0},
      {"breather without energy", Lane::breather, {-4.0, false, KeyRelation::same(), {}},
       {.id = "c"}, {.id = "x"}, 4.0},
      {"rating 3 hides the stars", Lane::groove, plain, {.id = "c"}, {.id = "x", .stars = 5}, 6.0, {}, 3},
      {"rating 1", Lane::groove, plain, {.id = "c"}, {.id = "x", .stars = 5}, 0.0, {}, 1},
      {"one star", Lane::groove, plain, {.id = "c"}, {.id = "x", .stars = 1}, 3.0},
      {"15 plays", Lane::groove, plain, {.id = "c"}, {.id = "x", .playCount = 15}, 10.0},
      {"900 plays", Lane::groove, plain, {.id = "c"}, {.id = "x", .playCount = 900}, 10.0},
      {"a negative play count counts as none", Lane::groove, plain, {.id = "c"}, {.id = "x", .playCount = -5}, 6.0},
      {"played after it twice", Lane::groove, plain, {.id = "c"}, {.id = "x"}, 12.0, {}, {}, 2},
      {"played after it 7 times", Lane::groove, plain, {.id = "c"}, {.id = "x"}, 15.0, {}, {}, 7},
      {"artist of the last load", Lane::groove, plain, {.id = "c"}, {.id = "x", .artist = "DJ Émile"}, -6.0,
       {"djemile", "other", "djemile"}},
      {"artist second to last", Lane::groove, plain, {.id = "c"}, {.id = "x", .artist = "DJ Emile"}, -6.0,
       {"djemile", "other"}},
      {"artist further back", Lane::groove, plain, {.id = "c"}, {.id = "x", .artist = "DJ Emile"}, 1.0,
       {"djemile", "other", "more"}},
      {"empty artist is never recent", Lane::groove, plain, {.id = "c"}, {.id = "x", .artist = "!!"}, 6.0,
       {""}},
      // clang-format on
  };
  for (const auto& c : cases) {
    const Track current = makeTrack(c.current), candidate = makeTrack(c.candidate);
    RecommendationRequest request{.current = current, .pool = {candidate}, .recentArtists = c.recentArtists};
    if (c.rating) request.ratings[candidate.key] = *c.rating;
    if (c.pairCount)
      request.playedPairs[RecommendationRequest::pairKey(current.key, candidate.key)] = *c.pairCount;
    EXPECT_EQ(Recommender::score(c.lane, candidate, c.relation, request), c.expected) << c.name;
  }
}

TEST(RecommenderTest, CurrentTrackWithoutBpmEmptiesEveryLane) {
  for (const std::optional<double> bpm : {std::optional<double>(), std::optional<double>(0.0)}) {
    const auto results = Recommender::recommend({.current = makeTrack({.id = "c", .bpm = bpm}),
                                                 .pool = tracks({{.id = "a"}, {.id = "b", .bpm = 125}})});
    ASSERT_EQ(results.size(), 4u);
    for (std::size_t i = 0; i < results.size(); ++i) {
      EXPECT_EQ(results[i].lane, Lane::allCases()[i]);
      EXPECT_TRUE(results[i].options.empty());
      EXPECT_EQ(
          results[i].emptyReason,
          "This track has no BPM in your export, so Kesta can't compare tempo. Analyze it in rekordbox and "
          "export again.");
      EXPECT_EQ(results[i].emptyShort, "No BPM for this track: analyze it in rekordbox.");
    }
  }
}

TEST(RecommenderTest, EmptyPoolGivesEachLaneItsOwnReason) {
  const std::pair<std::string, std::string> own[] = {
      {"Nothing unused within ±3% tempo in a compatible key.", "Nothing unused within ±3% in a fitting key."},
      {"Nothing unused that steps up while keeping the key compatible.",
       "Nothing unused steps up in a fitting key."},
      {"Nothing unused that steps down while keeping the key compatible.",
       "Nothing unused steps down in a fitting key."},
  };
  const struct {
    std::optional<std::string> camelot;
    std::string pivotReason, pivotShort;
  } cases[] = {
      {std::nullopt, "Kesta doesn't know this track's key, so it can't find a real key change.",
       "No key for this track, so no Pivot."},
      {"8A", "No track in this pool changes key by 2+ Camelot steps within a usable tempo range.",
       "No 2+ step key change at a usable tempo."},
  };
  for (const auto& c : cases) {
    const auto results =
        Recommender::recommend({.current = makeTrack({.id = "c", .camelot = c.camelot}), .pool = {}});
    for (std::size_t i = 0; i < 3; ++i) {
      EXPECT_EQ(results[i].emptyReason, own[i].first);
      EXPECT_EQ(results[i].emptyShort, own[i].second);
    }
    EXPECT_EQ(results[3].emptyReason, c.pivotReason);
    EXPECT_EQ(results[3].emptyShort, c.pivotShort);
  }
}

// Current: 120 BPM, 8A, "Title c" by "Artist c", stable key "k:c".
TEST(RecommenderTest, CandidatesLeaveOutWhatMayNotBeSuggested) {
  const struct {
    std::string name;
    std::vector<TrackSpec> pool;
    std::vector<std::string> groove;
    std::vector<std::string> excludedKeys = {}, excludedSongs = {};
  } cases[] = {
      // clang-format off
      {"not recommendable",
       {{.id = "a", .camelot = "8A", .title = " \t "}, {.id = "b", .bpm = 0.0, .camelot = "8A"},
        {.id = "d", .bpm = std::nullopt}, {.id = "e", .camelot = "8A"}},
       {"e"}},
      {"current track again", {{.id = "a", .camelot = "8A", .key = "k:c"}, {.id = "e"}}, {"e"}},
      {"current song under another key",
       {{.id = "a", .bpm = 121, .camelot = "9A", .title = "TITLE C!", .artist = "artist c"}, {.id = "e"}},
       {"e"}},
      {"excluded by key", {{.id = "a", .camelot = "8A"}, {.id = "e"}}, {"e"}, {"k:a"}},
      {"excluded by song", {{.id = "a", .camelot = "8A"}, {.id = "e"}}, {"e"}, {}, {"titlea|artista"}},
      {"first entry of a song wins",
       {{.id = "a", .bpm = 123, .title = "Song", .artist = "Someone"},
        {.id = "b", .camelot = "8A", .title = "song", .artist = "SOMEONE"}},
       {"a"}},
      {"an unfit first entry still blocks the song",
       {{.id = "a", .bpm = 200, .title = "Song", .artist = "Someone"},
        {.id = "b", .camelot = "8A", .title = "Song", .artist = "Someone"}},
       {}},
      {"half tempo", {{.id = "a", .bpm = 60, .camelot = "8A"}}, {"a"}},
      {"best first, then key order",
       {{.id = "d", .camelot = "9A"}, {.id = "b", .camelot = "8A"}, {.id = "a", .camelot = "8A"},
        {.id = "e", .bpm = 121.2, .camelot = "8A"}, {.id = "f", .camelot = "8B"}},
       {"a", "b", "d", "f"}},
      // clang-format on
  };
  for (const auto& c : cases) {
    RecommendationRequest request{.current = makeTrack({.id = "c", .camelot = "8A"}), .pool = tracks(c.pool)};
    for (const auto& key : c.excludedKeys) request.excludedKeys.insert(StableKey{key});
    for (const auto& song : c.excludedSongs) request.excludedSongs.insert(song);
    EXPECT_THAT(optionIds(Recommender::recommend(request)[Lane::groove]), ElementsAreArray(c.groove))
        << c.name;
  }
}

TEST(RecommenderTest, TempoBoundsHoldInPlainDoubleArithmetic) {
  const Track current = makeTrack({.id = "c", .bpm = 100, .camelot = "8A"});
  const auto at103 = Recommender::recommend({.current = current, .pool = tracks({{.id = "x", .bpm = 103}})});
  EXPECT_TRUE(at103[Lane::groove].options.empty());
  EXPECT_THAT(optionIds(at103[Lane::raise]), ElementsAre("x"));
  const auto at1029 =
      Recommender::recommend({.current = current, .pool = tracks({{.id = "x", .bpm = 102.9}})});
  EXPECT_THAT(optionIds(at1029[Lane::groove]), ElementsAre("x"));
}

TEST(RecommenderTest, AnOnlyMatchGoesToTheLaneThatChoosesFirst) {
  // Groove and raise both fit only "x"; equal lengths, so groove (first in text order) chooses first.
  const auto results = Recommender::recommend({.current = makeTrack({.id = "c", .bpm = 100, .camelot = "8A"}),
                                               .pool = tracks({{.id = "x", .bpm = 102}})});
  EXPECT_THAT(optionIds(results[Lane::groove]), ElementsAre("x"));
  EXPECT_TRUE(results[Lane::raise].options.empty());
  EXPECT_EQ(results[Lane::raise].emptyReason, "The only match is already shown in another lane.");
  EXPECT_EQ(results[Lane::raise].emptyShort, "Its only match is in another lane.");
}

TEST(RecommenderTest, ShortestListChoosesFirst) {
  // Lists: groove 5 (x, y, g1, g2, g3 in score order), raise 1 (x), breather 3 (y, b1, b2), pivot 0.
  // Fill order pivot, raise, breather, groove: raise takes x and breather y, though both would lead groove.
  const auto results = Recommender::recommend(
      {.current = makeTrack({.id = "c", .bpm = 100, .camelot = "8A", .energy = 5}),
       .pool = tracks({{.id = "x", .bpm = 100, .camelot = "8A", .energy = 6, .playCount = 15},
                       {.id = "y", .bpm = 100, .camelot = "8A", .energy = 4, .playCount = 15},
                       {.id = "g1", .bpm = 100.5, .camelot = "8A", .energy = 5},
                       {.id = "g2", .bpm = 101, .camelot = "8A", .energy = 5},
                       {.id = "g3", .bpm = 102, .camelot = "8A", .energy = 5},
                       {.id = "b1", .bpm = 96, .camelot = "8A", .energy = 4},
                       {.id = "b2", .bpm = 95, .camelot = "8A", .energy = 4}})});
  EXPECT_THAT(optionIds(results[Lane::raise]), ElementsAre("x"));
  EXPECT_THAT(optionIds(results[Lane::breather]), ElementsAre("y", "b1", "b2"));
  EXPECT_THAT(optionIds(results[Lane::groove]), ElementsAre("g1", "g2", "g3"));
}

TEST(RecommenderTest, LaterOptionsMayRepeatAcrossLanes) {
  const auto results = Recommender::recommend({.current = makeTrack({.id = "c", .bpm = 100, .camelot = "8A"}),
                                               .pool = tracks({{.id = "g", .bpm = 100, .camelot = "8A"},
                                                               {.id = "r", .bpm = 103, .camelot = "8A"},
                                                               {.id = "s", .bpm = 102.5, .camelot = "9A"}})});
  EXPECT_THAT(optionIds(results[Lane::groove]), ElementsAre("g", "s"));
  EXPECT_THAT(optionIds(results[Lane::raise]), ElementsAre("r", "s"));
}

TEST(RecommenderTest, OptionsPerLaneLimitsEveryLane) {
  std::vector<TrackSpec> pool;
  for (int i = 0; i < 9; ++i) pool.push_back({.id = "g" + std::to_string(i), .camelot = "8A"});
  const Track current = makeTrack({.id = "c", .camelot = "8A"});
  const struct {
    int optionsPerLane;
    std::size_t shown;
  } cases[] = {{-3, 0}, {0, 0}, {1, 1}, {4, 4}, {7, 7}, {50, 9}};
  for (const auto& c : cases) {
    const auto results = Recommender::recommend(
        {.current = current, .pool = tracks(pool), .optionsPerLane = c.optionsPerLane});
    EXPECT_EQ(results[Lane::groove].options.size(), c.shown) << c.optionsPerLane;
    EXPECT_FALSE(results[Lane::groove].emptyReason) << c.optionsPerLane;  // it had a first option
    EXPECT_TRUE(results[Lane::raise].emptyReason) << c.optionsPerLane;
  }
}

TEST(RecommenderTest, EqualScoresRankByKeyThenByPoolPosition) {
  const Track current = makeTrack({.id = "c", .camelot = "8A"});
  const auto equal = [](const std::string& id, const std::string& key) {
    return TrackSpec{.id = id, .camelot = "8A", .key = key};
  };
  const struct {
    std::vector<TrackSpec> pool;
    std::vector<std::string> groove;
  } cases[] = {
      {{equal("p6", "k:same"), equal("p2", "k:same"), equal("p9", "k:same"), equal("p1", "k:same"),
        equal("p8", "k:same"), equal("p4", "k:same"), equal("p7", "k:same"), equal("p3", "k:same"),
        equal("p5", "k:same")},
       {"p6", "p2", "p9", "p1", "p8", "p4", "p7", "p3", "p5"}},
      {{equal("late", "k:b"), equal("first", "k:a"), equal("also", "k:b")}, {"first", "late", "also"}},
  };
  for (const auto& c : cases) {
    const auto results =
        Recommender::recommend({.current = current, .pool = tracks(c.pool), .optionsPerLane = 9});
    EXPECT_THAT(optionIds(results[Lane::groove]), ElementsAreArray(c.groove));
  }
}

TEST(RecommenderTest, PivotFallsBackToOneFarKeyChange) {
  // Energy jumps too far for the pivot lane; the nearest key change within 12% is offered once.
  const Track current = makeTrack({.id = "c", .bpm = 100, .camelot = "8A", .energy = 2});
  const struct {
    std::vector<TrackSpec> pool;
    std::vector<std::string> expected;
  } cases[] = {
      {{{.id = "far", .bpm = 88, .camelot = "11A", .energy = 9},
        {.id = "near", .bpm = 91, .camelot = "2A", .energy = 9}},
       {"near"}},
      {{{.id = "at88", .bpm = 88, .camelot = "11A", .energy = 9}}, {"at88"}},
      {{{.id = "at112", .bpm = 112, .camelot = "11A", .energy = 9}}, {}},
      {{{.id = "b", .bpm = 94, .camelot = "10A", .energy = 9},
        {.id = "a", .bpm = 106, .camelot = "10B", .energy = 9}},
       {"a"}},
  };
  for (const auto& c : cases) {
    const auto pivot = Recommender::recommend(
        {.current = current, .pool = tracks(c.pool), .optionsPerLane = 10})[Lane::pivot];
    EXPECT_THAT(optionIds(pivot), ElementsAreArray(c.expected));
    EXPECT_EQ(pivot.emptyReason.has_value(), c.expected.empty());
  }
  const auto option =
      Recommender::recommend(
          {.current = current,
           .pool = tracks({{.id = "x", .bpm = 88, .camelot = "11A", .energy = 9}})})[Lane::pivot]
          .options.at(0);
  EXPECT_EQ(option.why, "8A→11A, down a minor third · -12.0% tempo · energy 2→9");
  EXPECT_EQ(option.caveat, "Needs a -12% tempo change: use a cut, echo-out or breakdown.");
}

TEST(RecommenderTest, OptionsCarryTheirLanesWording) {
  const auto results =
      Recommender::recommend({.current = makeTrack({.id = "c", .bpm = 100, .camelot = "8A", .energy = 5}),
                              .pool = tracks({{.id = "b", .bpm = 96, .energy = 4},
                                              {.id = "p", .bpm = 101, .camelot = "10A", .energy = 6}})});
  const Suggestion& breather = results[Lane::breather].options.at(0);
  EXPECT_EQ(breather.id(), "breather:b");
  EXPECT_EQ(breather.why, "-4.0% tempo · key not analysed · energy 5→4");
  EXPECT_EQ(breather.caveat, "Key not analysed; check by ear.");
  const Suggestion& pivot = results[Lane::pivot].options.at(0);
  EXPECT_EQ(pivot.why, "8A→10A, up a whole step · +1.0% tempo · energy 5→6");
  EXPECT_EQ(pivot.caveat, "Check the intro for a drum lead-in.");
}

}  // namespace
}  // namespace kesta
