#pragma once

#include <string>

#include "platform/image/geometry.h"

namespace kesta {

// One line of recognised text: the best reading, untrimmed, and its box as
// fractions of the recognised image (0 to 1, origin at the top left, y
// growing downward).
struct RecognizedLine {
  std::string text;
  Rect box;

  friend bool operator==(const RecognizedLine&, const RecognizedLine&) = default;
};

}  // namespace kesta
