#include "model/ranking_request.h"

#include <utility>

namespace kesta::model {

RecommendationRequest rankingRequest(const Track& current, const TrackPool& pool,
                                     const std::vector<Track>& onDeck, const DJSet& set,
                                     const UserData& userData) {
  RecommendationRequest request{.current = current, .pool = pool};
  request.excludedKeys = set.usedKeys();
  request.excludedKeys.merge(set.dismissedKeys());
  request.excludedSongs = set.usedSongs();
  for (const Track& track : onDeck) {
    request.excludedKeys.insert(track.key);
    request.excludedSongs.insert(track.songKey());
  }
  request.recentArtists = set.recentArtists();
  for (const auto& [raw, stars] : userData.ratings) request.ratings.emplace(StableKey{raw}, stars);
  request.playedPairs.insert(userData.playedPairs.begin(), userData.playedPairs.end());
  request.optionsPerLane = 4;
  return request;
}

}  // namespace kesta::model
