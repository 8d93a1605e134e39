#pragma once

#include <optional>
#include <string>
#include <vector>

#include "suggest/lane.h"
#include "suggest/suggestion.h"

namespace kesta {

// What one lane shows after a ranking: its options, best first, or why it has
// none (a full text for the window, a short one for the corner card).
struct LaneResult {
  Lane lane;
  std::vector<Suggestion> options;
  std::optional<std::string> emptyReason;
  std::optional<std::string> emptyShort;

  std::string id() const { return std::string(lane.id()); }

  friend bool operator==(const LaneResult&, const LaneResult&) = default;
};

}  // namespace kesta
