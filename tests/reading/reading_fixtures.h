#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "library/library.h"
#include "library/musical_key.h"
#include "library/track.h"

namespace kesta::test {

// A library track with what matching looks at; the stable key follows the id
// unless given.
inline Track libraryTrack(std::string id, std::string title, std::string artist = "",
                          std::optional<double> bpm = 124.0,
                          std::optional<std::string> keyText = std::nullopt, std::string stableKey = "") {
  Track track;
  track.key = StableKey{stableKey.empty() ? "meta:" + id : std::move(stableKey)};
  track.id = std::move(id);
  track.source = Source::local();
  track.title = std::move(title);
  track.artist = std::move(artist);
  track.bpm = bpm;
  track.musicalKey = keyText ? MusicalKey::parsing(*keyText) : std::nullopt;
  track.keyText = std::move(keyText);
  return track;
}

inline Library libraryOf(std::vector<Track> tracks) {
  Library library;
  library.tracks = std::move(tracks);
  library.sourceFileName = "rekordbox.xml";
  return library;
}

}  // namespace kesta::test
