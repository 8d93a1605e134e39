#pragma once

#include <string>
#include <vector>

#include "platform/image/geometry.h"

namespace kesta {

// A browser row found to show the requested title.
struct MatchedRow {
  Rect box;                         // the row's first title line, normalised to the window
  std::vector<std::string> others;  // the other lines on the row, as recognised, in order
  bool sameSong = false;            // known to be the requested song, not only its title

  friend bool operator==(const MatchedRow&, const MatchedRow&) = default;
};

}  // namespace kesta
