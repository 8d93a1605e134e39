#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "library/track.h"
#include "suggest/lane.h"
#include "suggest/recommender.h"

// The recommender's texts: the one-line reasons of an option, its caveat, and
// why a lane is empty. Used by the recommender only; the views show the texts
// as they are.
namespace kesta::SuggestionWording {

// Why a lane is empty: `full` for the window, `brief` for the corner card.
struct EmptyReason {
  std::string_view full;
  std::string_view brief;
};

// The phrases of an option joined by " · ": tempo and key (key first in the
// pivot lane), then energy, then, in the pivot lane only, a differing genre.
std::string explain(Lane lane, const Track& current, const Track& candidate,
                    const Recommender::Relation& relation);

// The warning that goes with an option of the lane.
std::optional<std::string> caveat(Lane lane, const Recommender::Relation& relation);

// The caveat of the one pivot option found beyond the usual tempo range.
std::string farTempoCaveat(double tempoPercent);

EmptyReason noBPM();
EmptyReason onlyMatchElsewhere();
// Nothing eligible in the lane (for the pivot lane, after the wider search).
EmptyReason nothingEligible(Lane lane);
EmptyReason pivotWithoutKey();
EmptyReason pivotNothingFound();

}  // namespace kesta::SuggestionWording
