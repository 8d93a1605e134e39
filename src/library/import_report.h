#pragma once

#include <map>
#include <string>
#include <vector>

#include "platform/json/json_value.h"

namespace kesta {

// What one import of the collection found, skipped and guessed. `ImportReport{}`
// is the report of an empty library; the importer counts into the fields.
struct ImportReport {
  int totalEntries = 0;
  int recommendable = 0;
  int missingTitle = 0;
  int missingBPM = 0;
  int bpmFromBeatGrid = 0;
  int missingKey = 0;
  std::vector<std::string> unrecognisedKeyValues;
  std::map<std::string, int> keyNotations;  // "Camelot", "Open Key", "Musical"
  std::map<std::string, int> sources;       // by source slug
  int unrecognisedLocations = 0;
  int energyTagged = 0;
  int folders = 0;
  int playlists = 0;
  int emptyPlaylists = 0;
  int unresolvedPlaylistEntries = 0;
  int repeatedPlaylistNames = 0;
  int duplicateSongs = 0;
  int duplicateTrackIDs = 0;

  // The report as sentences for the DJ, in a fixed order (3 to 10 of them).
  std::vector<std::string> notes() const;

  // All eighteen keys, each required on decoding.
  json::Value toJson() const;
  static ImportReport fromJson(const json::Value& value);

  friend bool operator==(const ImportReport&, const ImportReport&) = default;
};

}  // namespace kesta
