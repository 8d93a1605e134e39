#pragma once

#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "library/stable_key.h"
#include "library/track.h"
#include "suggest/track_pool.h"

namespace kesta {

// The whole input of one ranking. Use designated initialisers for the
// memberwise form: everything after `pool` may be left out.
struct RecommendationRequest {
  Track current;   // the track the DJ is mixing from
  TrackPool pool;  // the tracks suggestions are drawn from, in pool order
  std::unordered_set<StableKey> excludedKeys{};
  std::unordered_set<std::string> excludedSongs{};  // by Track::songKey
  // Normalised artists of the most recent loads, the most recent last.
  std::vector<std::string> recentArtists{};
  std::unordered_map<StableKey, int> ratings{};
  // How often one track followed another, by pairKey(earlier, later).
  std::unordered_map<std::string, int> playedPairs{};
  int optionsPerLane = 4;

  // The earlier key's raw text, ">", the later key's raw text: the key the user
  // data counts played transitions under.
  static std::string pairKey(const StableKey& earlier, const StableKey& later) {
    return earlier.raw + ">" + later.raw;
  }
};

}  // namespace kesta
