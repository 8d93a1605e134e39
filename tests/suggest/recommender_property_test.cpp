#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "suggest/recommender.h"
#include "suggest/track_fixtures.h"

namespace kesta {
namespace {

using kesta::test::makeTrack;
using kesta::test::TrackSpec;

// Generated libraries with few titles, artists, keys and tempos, so that
// duplicate songs, shared stable keys, contested first options and score ties
// are common.
class LibraryGenerator {
 public:
  explicit LibraryGenerator(unsigned seed) : random_(seed) {}

  Track track(int index) {
    static const char* const kTitles[] = {"Intro", "Nightfall", "Señor", "Glow",
                                          "Drift", "Tide",      "  ",    "Echo"};
    static const char* const kArtists[] = {"Ana", "ANA", "Bo & Co", "", "Chloé", "Dee"};
    static const char* const kGenres[] = {"", "House", "house", "Techno", "Électro"};
    TrackSpec spec{.id = std::to_string(index)};
    const int tempoKind = below(10);
    spec.bpm = tempoKind == 0 ? std::nullopt : tempoKind == 1 ? std::optional(0.0) : std::optional(tempo());
    if (below(5) != 0) spec.camelot = std::to_string(1 + below(12)) + (below(2) == 0 ? "A" : "B");
    if (below(3) != 0) spec.energy = 1 + below(10);
    spec.genre = kGenres[below(5)];
    spec.title = std::string(kTitles[below(8)]) + (below(3) == 0 ? "" : " " + std::to_string(below(6)));
    spec.artist = kArtists[below(6)];
    if (spec.artist.empty()) spec.artist = "!";  // normalises to an empty artist
    spec.playCount = below(4) == 0 ? below(40) : 0;
    spec.stars = below(6);
    spec.key = below(15) == 0 ? "k:shared" : "k:" + std::to_string(below(400));
    return makeTrack(spec);
  }

  RecommendationRequest request() {
    std::vector<Track> pool;
    const int size = below(160);
    for (int i = 0; i < size; ++i) pool.push_back(track(i));
    Track current =
        (!pool.empty() && below(2) == 0) ? pool[below(static_cast<int>(pool.size()))] : track(1000);
    if (!current.hasBPM() && below(4) != 0) current.bpm = tempo();

    RecommendationRequest request{.current = current, .pool = pool};
    for (const Track& track : pool) {
      if (below(12) == 0) request.excludedKeys.insert(track.key);
      if (below(12) == 0) request.excludedSongs.insert(track.songKey());
      if (below(8) == 0) request.ratings[track.key] = 1 + below(5);
      if (below(8) == 0)
        request.playedPairs[RecommendationRequest::pairKey(current.key, track.key)] = 1 + below(5);
    }
    for (int i = below(9); i > 0; --i) request.recentArtists.push_back(below(2) == 0 ? "ana" : "dee");
    request.optionsPerLane = below(8) == 0 ? below(3) - 1 : 1 + below(6);
    return request;
  }

 private:
  int below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random_); }
  double tempo() {
    static const double kTempos[] = {60,  62,    88,  95,  100, 102.9, 103, 110, 112,
                                     120, 122.5, 124, 126, 128, 140,   174, 200};
    return below(3) == 0 ? 60.0 + below(1200) / 10.0 : kTempos[below(17)];
  }

  std::mt19937 random_;
};

bool isFallbackOption(const Suggestion& option) {
  return option.caveat && option.caveat->starts_with("Needs a ");
}

TEST(RecommenderPropertyTest, GeneratedLibrariesKeepTheLaneRules) {
  for (unsigned seed = 1; seed <= 400; ++seed) {
    SCOPED_TRACE(seed);
    LibraryGenerator generator(seed);
    const RecommendationRequest request = generator.request();
    const auto results = Recommender::recommend(request);
    ASSERT_EQ(results, Recommender::recommend(RecommendationRequest(request)));
    ASSERT_EQ(results.size(), 4u);

    const Track& current = request.current;
    const std::size_t limit = static_cast<std::size_t>(std::max(request.optionsPerLane, 0));
    std::set<std::string> firstSongs;
    for (std::size_t i = 0; i < results.size(); ++i) {
      const LaneResult& result = results[i];
      const Lane lane = Lane::allCases()[i];
      ASSERT_EQ(result.lane, lane);
      EXPECT_EQ(result.emptyReason.has_value(), result.emptyShort.has_value());
      if (!result.options.empty()) {
        EXPECT_FALSE(result.emptyReason);
        EXPECT_TRUE(firstSongs.insert(result.options.front().track.songKey()).second) << lane.id();
      } else if (limit > 0) {
        EXPECT_TRUE(result.emptyReason) << lane.id();
      }

      std::set<std::string> songs;
      double previousScore = INFINITY;
      for (const Suggestion& option : result.options) {
        const Track& track = option.track;
        EXPECT_EQ(option.lane, lane);
        EXPECT_TRUE(track.isRecommendable());
        EXPECT_NE(track.key, current.key);
        EXPECT_NE(track.songKey(), current.songKey());
        EXPECT_FALSE(request.excludedKeys.contains(track.key));
        EXPECT_FALSE(request.excludedSongs.contains(track.songKey()));
        EXPECT_TRUE(songs.insert(track.songKey()).second);
        EXPECT_TRUE(std::any_of(request.pool.begin(), request.pool.end(),
                                [&](const Track& t) { return t == track; }));
        const auto relation = Recommender::relation(current, track);
        ASSERT_TRUE(relation);
        if (isFallbackOption(option)) {
          EXPECT_EQ(lane, Lane::pivot);
          EXPECT_EQ(result.options.size(), 1u);
          EXPECT_TRUE(relation->key && !relation->key->isNeighbour());
          EXPECT_LE(std::abs(relation->tempoPercent), 12.0);
          EXPECT_FALSE(Recommender::eligible(lane, *relation));
        } else {
          EXPECT_TRUE(Recommender::eligible(lane, *relation));
          const double score = Recommender::score(lane, track, *relation, request);
          EXPECT_LE(score, previousScore);
          previousScore = score;
        }
      }
      if (!(result.options.size() == 1 && isFallbackOption(result.options.front()))) {
        EXPECT_LE(result.options.size(), limit);
      }
    }
  }
}

}  // namespace
}  // namespace kesta
