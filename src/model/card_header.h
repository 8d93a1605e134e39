#pragma once

#include <string>

#include "model/view_snapshot.h"

// What the corner card shows in its header and which page fills its middle,
// as pure functions of the view snapshot. No clock, no locale; any thread.
namespace kesta::model {

// The two header lines: the followed track, or the model's heading.
struct CardHeader {
  std::string title;
  std::string subtitle;  // "Deck <n> · <artist> · <bpm> BPM · <key>" under a followed track
  bool showsTrack = false;
  // The end of the subtitle kept whole, the artist cut first: " · <bpm> BPM · <key>".
  std::string subtitleKept;
  friend bool operator==(const CardHeader&, const CardHeader&) = default;
};

// The one control that matters now.
enum class CardControl { reopen, problemDot, liveDot, setUp, connect };

// What the middle shows: the start-up question wins over the version pick,
// which wins over the lanes.
enum class CardMiddle { startupQuestion, versionPick, lanes };

CardHeader cardHeader(const ViewSnapshot& snapshot);
CardControl cardControl(const ViewSnapshot& snapshot);
CardMiddle cardMiddle(const ViewSnapshot& snapshot);

}  // namespace kesta::model
