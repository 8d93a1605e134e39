#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "library/musical_key.h"
#include "library/track.h"
#include "suggest/lane.h"
#include "suggest/lane_result.h"
#include "suggest/recommendation_request.h"

// The lane recommender: pure and deterministic, the same request always gives
// the same four lanes. It reads only its argument and may run on any thread.
namespace kesta::Recommender {

// How a candidate relates to the current track.
struct Relation {
  // Percent from the current tempo to the candidate's, after the half/double
  // time choice; positive when the candidate is faster.
  double tempoPercent = 0;
  bool doubleTime = false;                  // the candidate's tempo doubled or halved matched better
  std::optional<MusicalKey::Relation> key;  // absent when either track has no key
  std::optional<int> energyDelta;           // candidate minus current; absent without both

  friend bool operator==(const Relation&, const Relation&) = default;
};

struct TempoMatch {
  double percent = 0;
  bool doubleTime = false;

  friend bool operator==(const TempoMatch&, const TempoMatch&) = default;
};

// The four lanes in Lane::allCases() order. The first options of the lanes are
// always different songs. A negative optionsPerLane counts as 0.
std::vector<LaneResult> recommend(const RecommendationRequest& request);

// The closest of the plain, doubled and halved tempo ratios from `from` to `to`
// BPM; a tie keeps the plain ratio.
TempoMatch tempoPercent(double from, double to);

// Absent when either track has no BPM above 0.
std::optional<Relation> relation(const Track& current, const Track& candidate);

// Whether a candidate with this relation fits the lane (bounds inclusive).
bool eligible(Lane lane, const Relation& relation);

// The score of a candidate in a lane it is eligible for; higher ranks first.
double score(Lane lane, const Track& candidate, const Relation& relation,
             const RecommendationRequest& request);

// "same tempo", or "+2.5% tempo"; " (half/double time)" appended when it applies.
std::string tempoPhrase(const Relation& relation);

// "same key", "relative key", ..., "8A→10A, up a whole step" for a key change.
std::string keyPhrase(const std::optional<MusicalKey::Relation>& relation, const Track& current,
                      const Track& candidate);

}  // namespace kesta::Recommender
