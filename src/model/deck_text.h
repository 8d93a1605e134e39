#pragma once

#include <string>

#include "model/view_snapshot.h"

// What one deck card of the full window shows, as a pure function of the
// view snapshot. No clock, no locale; any thread.
namespace kesta::model {

struct DeckText {
  std::string title;  // the track's title, or what the deck holds instead
  std::string meta;   // "<artist> · <bpm> BPM · <key>", a blank for anything but a track
  // The end of `meta` that a narrow card keeps whole, cutting the artist
  // instead: " · <bpm> BPM · <key>"; empty for anything but a track.
  std::string metaKept;
  bool followed = false;
  bool checking = false;
  bool tappable = false;  // connected and something on the deck
  friend bool operator==(const DeckText&, const DeckText&) = default;
};

// Deck `deck` (1 or 2).
DeckText deckText(const ViewSnapshot& snapshot, int deck);

}  // namespace kesta::model
