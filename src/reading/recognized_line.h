#pragma once

#include <string>

#include "platform/image/geometry.h"

namespace kesta {

// One line of recognised text: the best reading, untrimmed, and its box as
// fractions of the recognised image (0 to 1, origin at the top left, y
// growing downward). Two lines are equal when their texts and boxes are.
struct RecognizedLine {
  std::string text;
  Rect box;
  // The line read in the other paragraph direction, for a line that holds
  // right-to-left and left-to-right words; empty for any other line. The
  // deck's lines are matched in both orders (DeckTextExtractor::match).
  std::string otherOrder = {};

  friend bool operator==(const RecognizedLine& a, const RecognizedLine& b) {
    return a.text == b.text && a.box == b.box;
  }
};

}  // namespace kesta
