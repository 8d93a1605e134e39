#pragma once

#include <cstddef>
#include <string>

namespace kesta::bench {

// A rekordbox collection export shaped like a real one, the same bytes on
// every run: CRLF lines, about 950 bytes per track, entities and percent
// escapes, raw "#" and "?" in paths, Windows paths, streaming entries, empty
// and odd keys, several TEMPO children, cues, and a playlist tree of folders
// with playlists by TrackID and by location, some listing a track twice.
std::string generateCollection(std::size_t trackCount);

}  // namespace kesta::bench
