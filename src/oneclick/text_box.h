#pragma once

#include <string>

#include "platform/image/geometry.h"

namespace kesta {

// One recognised line of rekordbox's window, its box normalised to the whole
// captured window (0 to 1, origin at the top left, y growing downwards).
struct TextBox {
  std::string text;
  Rect box;

  friend bool operator==(const TextBox&, const TextBox&) = default;
};

}  // namespace kesta
