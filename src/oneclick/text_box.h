#pragma once

#include <string>

#include "platform/image/geometry.h"

namespace kesta {

// One recognised line of rekordbox's window, its box normalised to the whole
// captured window (0 to 1, origin at the top left, y growing downwards).
// `otherOrder` is the line read in the other paragraph direction when it mixes
// left-to-right and right-to-left words; empty otherwise.
struct TextBox {
  std::string text;
  Rect box;
  std::string otherOrder = {};

  friend bool operator==(const TextBox&, const TextBox&) = default;
};

}  // namespace kesta
