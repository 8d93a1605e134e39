#pragma once

#include <string>
#include <vector>

#include "model/view_snapshot.h"

// What the full window shows of the followed track, as a pure function of
// the view snapshot: the track, the versions an ambiguous deck could hold, or
// why nothing is followed. No clock, no locale; any thread.
namespace kesta::model {

// At most this many versions are offered as chips.
inline constexpr std::size_t kShownVersions = 3;

struct NowPlayingText {
  enum class Kind { track, versions, nothing };

  Kind kind = Kind::nothing;
  std::string headline;     // the title, the version question or why nothing shows
  std::string readout;      // "<artist> · <bpm> BPM · <key> · Deck <n>"; a blank without a track
  std::string readoutKept;  // its end kept whole when the artist is cut: " · <bpm> BPM · <key> · Deck <n>"
  int deck = 0;             // the followed deck, 0 without a focus
  std::vector<Track> versions;  // the first candidates of an ambiguous deck
  friend bool operator==(const NowPlayingText&, const NowPlayingText&) = default;
};

NowPlayingText nowPlayingText(const ViewSnapshot& snapshot);

}  // namespace kesta::model
