#pragma once

#include <optional>
#include <string>

#include "library/track.h"

namespace kesta {

// The key text and BPM a deck shows next to the library track it was matched
// to, used to complete library entries that lack them.
struct ShownMetadata {
  std::string trackID;
  std::optional<std::string> keyText;
  std::optional<double> bpm;

  friend bool operator==(const ShownMetadata&, const ShownMetadata&) = default;
};

// The track completed from what its deck shows: the shown key only when the
// track has no musical key, the shown BPM only when it has no usable BPM. The
// library's own values always win; metadata of another track changes nothing.
Track filling(const Track& track, const ShownMetadata& shown);

}  // namespace kesta
