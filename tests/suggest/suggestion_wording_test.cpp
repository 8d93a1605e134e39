#include "suggest/suggestion_wording.h"

#include <gtest/gtest.h>

#include <string>

#include "suggest/recommender.h"
#include "suggest/track_fixtures.h"

namespace kesta {
namespace {

using kesta::test::makeTrack;
using kesta::test::TrackSpec;
using Recommender::Relation;
using KeyRelation = MusicalKey::Relation;

TEST(TempoPhraseTest, RoundsToOneDecimalWithTheSignShown) {
  const struct {
    double percent;
    bool doubleTime;
    std::string expected;
  } cases[] = {
      // clang-format off
      {0.0, false, "same tempo"},     {0.29, false, "same tempo"},     {-0.29, false, "same tempo"},
      {0.3, false, "+0.3% tempo"},    {-0.3, false, "-0.3% tempo"},    {2.5, false, "+2.5% tempo"},
      {-4.96, false, "-5.0% tempo"},  {0.0, true, "same tempo (half/double time)"},
      {3.125, true, "+3.1% tempo (half/double time)"},
      // clang-format on
  };
  for (const auto& c : cases)
    EXPECT_EQ(Recommender::tempoPhrase(Relation{c.percent, c.doubleTime, std::nullopt, std::nullopt}),
              c.expected)
        << c.percent;
}

TEST(KeyPhraseTest, ChangeBetweenTracksWithoutKeysCountsTheSteps) {
  const Track none = makeTrack({.id = "d"});
  EXPECT_EQ(Recommender::keyPhrase(KeyRelation::change(3), none, none), "key change (3 steps)");
  EXPECT_EQ(Recommender::keyPhrase(std::nullopt, none, none), "key not analysed");
}

TEST(ExplainTest, JoinsThePhrasesOfTheLane) {
  const struct {
    Lane lane;
    TrackSpec current, candidate;
    std::string why;
  } cases[] = {
      // clang-format off
      {Lane::groove, {.id = "c", .camelot = "8A", .energy = 6}, {.id = "x", .camelot = "8A", .energy = 6},
       "same tempo · same key"},
      {Lane::groove, {.id = "c", .camelot = "8A", .energy = 6}, {.id = "x", .energy = 7},
       "same tempo · key not analysed · energy 6→7"},
      {Lane::groove, {.id = "c", .camelot = "8A", .genre = "House"},
       {.id = "x", .camelot = "8A", .genre = "Techno"},
       "same tempo · same key"},
      {Lane::raise, {.id = "c", .bpm = 100, .camelot = "8A", .energy = 5},
       {.id = "x", .bpm = 102.5, .camelot = "9A", .energy = 7},
       "+2.5% tempo · adjacent key · energy 5→7"},
      {Lane::breather, {.id = "c", .bpm = 100, .camelot = "8A"}, {.id = "x", .bpm = 96, .camelot = "8B"},
       "-4.0% tempo · relative key"},
      {Lane::groove, {.id = "c", .bpm = 140, .camelot = "8A"}, {.id = "x", .bpm = 70, .camelot = "7B"},
       "same tempo (half/double time) · diagonal key"},
      {Lane::pivot, {.id = "c", .bpm = 100, .camelot = "8A", .energy = 6, .genre = "House"},
       {.id = "x", .bpm = 101, .camelot = "10A", .energy = 6, .genre = "Techno"},
       "8A→10A, up a whole step · +1.0% tempo · energy 6→6 · \u2068Techno\u2069"},
      {Lane::pivot, {.id = "c", .camelot = "8A", .genre = "Électro"},
       {.id = "x", .camelot = "3B", .genre = "ELECTRO"},
       "8A→3B, up a major third, to major · same tempo"},
      {Lane::pivot, {.id = "c", .camelot = "8A", .genre = "House"}, {.id = "x", .camelot = "6A"},
       "8A→6A, down a whole step · same tempo"},
      // clang-format on
  };
  for (const auto& c : cases) {
    const Track current = makeTrack(c.current), candidate = makeTrack(c.candidate);
    const auto relation = Recommender::relation(current, candidate);
    ASSERT_TRUE(relation);
    EXPECT_EQ(SuggestionWording::explain(c.lane, current, candidate, *relation), c.why);
  }
}

TEST(CaveatTest, WarnsAboutWhatCouldNotBeJudged) {
  const struct {
    Lane lane;
    std::optional<KeyRelation> key;
    std::optional<int> delta;
    std::optional<std::string> expected;
  } cases[] = {
      {Lane::groove, std::nullopt, 0, "Key not analysed; check by ear."},
      {Lane::groove, std::nullopt, std::nullopt, "Key not analysed; check by ear."},
      {Lane::groove, KeyRelation::same(), std::nullopt, std::nullopt},
      {Lane::raise, std::nullopt, std::nullopt, "No energy tags: judged by tempo."},
      {Lane::raise, KeyRelation::same(), std::nullopt, "No energy tags: judged by tempo."},
      {Lane::raise, std::nullopt, 2, "Key not analysed; check by ear."},
      {Lane::breather, KeyRelation::adjacent(), -1, std::nullopt},
      {Lane::breather, KeyRelation::adjacent(), std::nullopt, "No energy tags: judged by tempo."},
      {Lane::pivot, KeyRelation::change(4), std::nullopt, "Check the intro for a drum lead-in."},
  };
  for (const auto& c : cases)
    EXPECT_EQ(SuggestionWording::caveat(c.lane, Relation{1.0, false, c.key, c.delta}), c.expected)
        << c.lane.id();
}

TEST(CaveatTest, FarTempoRoundsToWholePercent) {
  const struct {
    double percent;
    std::string expected;
  } cases[] = {
      {-8.6, "Needs a -9% tempo change: use a cut, echo-out or breakdown."},
      {9.2, "Needs a +9% tempo change: use a cut, echo-out or breakdown."},
      {12.0, "Needs a +12% tempo change: use a cut, echo-out or breakdown."},
  };
  for (const auto& c : cases) EXPECT_EQ(SuggestionWording::farTempoCaveat(c.percent), c.expected);
}

}  // namespace
}  // namespace kesta
