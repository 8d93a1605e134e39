#pragma once

#include <cstddef>
#include <functional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "library/import_report.h"
#include "library/pool_choice.h"
#include "library/shared_text.h"
#include "library/track.h"
#include "platform/json/json_value.h"
#include "platform/time/date.h"

namespace kesta {

// One playlist of the collection. `id` is 16 lowercase hex digits derived from
// the folder path, name and position among same-named siblings, so it stays
// the same across re-imports.
struct Playlist {
  std::string id;
  std::string name;
  std::vector<std::string> folderPath;  // outermost first, without "ROOT"
  // In playlist order, repeats kept; every entry of one track shares its text.
  std::vector<SharedText> trackIDs;

  // Folders and name joined with " › ".
  std::string displayName() const;

  // {"folderPath", "id", "name", "trackIDs"}, all required. The JSON form
  // copies every entry's text; "library.json" is written entry by entry.
  json::Value toJson() const;
  static Playlist fromJson(const json::Value& value);

  friend bool operator==(const Playlist&, const Playlist&) = default;
};

// The imported collection as one value. Pool ids select the tracks that
// suggestions draw from: "all", "playlist:<id>", "playlists:<id>,<id>",
// "regulars" (played 5 times or more), "source:<slug>"; anything else is "all".
struct Library {
  std::vector<Track> tracks;  // collection order
  std::vector<Playlist> playlists;
  ImportReport report;
  std::string sourceFileName;
  Date importedAt;

  // No tracks, no playlists, an all-zero report, "" and the most distant past.
  static const Library& empty();
  // No tracks (playlists do not count).
  bool isEmpty() const { return tracks.empty(); }

  // The pool menu, in menu order; empty for a library without tracks.
  std::vector<PoolChoice> poolChoices() const;
  // The tracks of a pool, in library order, each once; unknown ids fall back to
  // every track (see the .cpp for the exact rules).
  std::vector<Track> pool(std::string_view poolId) const;
  // Whether a remembered pool id still names something in this library.
  bool isValidPool(std::string_view poolId) const;

  // "all", "playlist:<id>" or "playlists:" + the ids sorted, joined with ",".
  static std::string poolID(const std::set<std::string>& playlistIds);
  // The playlist ids a pool id names (none for non-playlist pools).
  static std::vector<std::string> playlistIDs(std::string_view poolId);

  // {"importedAt", "playlists", "report", "sourceFileName", "tracks"}, all
  // required. Decoding shares the text of every repeated playlist entry.
  json::Value toJson() const;
  static Library fromJson(const json::Value& value);
};

}  // namespace kesta

template <>
struct std::hash<kesta::Playlist> {
  std::size_t operator()(const kesta::Playlist& playlist) const noexcept;
};
