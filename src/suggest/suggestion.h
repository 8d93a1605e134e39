#pragma once

#include <optional>
#include <string>

#include "library/track.h"
#include "suggest/lane.h"

namespace kesta {

// One suggested track in one lane, with the reasons shown beside it.
struct Suggestion {
  Lane lane;
  Track track;
  std::string why;                    // the reasons, one line
  std::optional<std::string> caveat;  // a warning for the DJ

  // The lane's raw value, ":" and the track id ("groove:1234").
  std::string id() const { return std::string(lane.id()) + ":" + track.id; }

  friend bool operator==(const Suggestion&, const Suggestion&) = default;
};

}  // namespace kesta
