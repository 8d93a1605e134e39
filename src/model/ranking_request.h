#pragma once

#include <vector>

#include "library/track.h"
#include "store/user_data.h"
#include "suggest/dj_set.h"
#include "suggest/recommendation_request.h"
#include "suggest/track_pool.h"

namespace kesta::model {

// The recommender's input for the track being mixed from: the prepared pool
// (shared, not copied), everything the running set has used or hidden since
// its last replay plus the tracks on the decks now, the set's recent artists,
// and what the DJ taught us (ratings and played pairs). Four options a lane.
// Pure; runs on the main thread, where it is built before each ranking.
RecommendationRequest rankingRequest(const Track& current, const TrackPool& pool,
                                     const std::vector<Track>& onDeck, const DJSet& set,
                                     const UserData& userData);

}  // namespace kesta::model
