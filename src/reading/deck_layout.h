#pragma once

#include "platform/image/geometry.h"
#include "platform/json/json_value.h"

namespace kesta {

// Where the two deck title areas sit in the rekordbox window, as fractions of
// the window image (origin top left, y downward).
struct DeckLayout {
  Rect deck1{0.015, 0.12, 0.475, 0.26};
  Rect deck2{0.51, 0.12, 0.475, 0.26};

  // Deck 1's area for deck number 1, deck 2's for any other number.
  const Rect& rect(int deck) const { return deck == 1 ? deck1 : deck2; }

  // {"deck1": [[x, y], [width, height]], "deck2": ...}, both required.
  json::Value toJson() const;
  static DeckLayout fromJson(const json::Value& value);

  friend bool operator==(const DeckLayout&, const DeckLayout&) = default;
};

}  // namespace kesta
