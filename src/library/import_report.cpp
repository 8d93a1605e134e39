#include "library/import_report.h"

#include <algorithm>
#include <utility>

#include "library/source.h"
#include "platform/json/json_coding.h"

namespace kesta {

namespace {

std::string plural(int count, std::string_view noun) {
  return std::to_string(count) + " " + std::string(noun) + (count == 1 ? "" : "s");
}

// Largest count first; equal counts by slug, so the sentence never changes
// between two reads of one report.
std::string sourceList(const std::map<std::string, int>& sources) {
  std::vector<std::pair<std::string, int>> entries(sources.begin(), sources.end());
  std::stable_sort(entries.begin(), entries.end(),
                   [](const auto& a, const auto& b) { return a.second > b.second; });
  std::string out;
  for (const auto& [slug, count] : entries) {
    if (!out.empty()) out += " \u00B7 ";
    out += Source{slug}.displayName() + " " + std::to_string(count);
  }
  return out;
}

std::map<std::string, int> countMap(const json::Value& object, std::string_view key) {
  std::map<std::string, int> out;
  for (const auto& [name, count] : json::asObject(json::require(object, key)).items()) {
    out[name] = json::asInt(count);
  }
  return out;
}

json::Value countObject(const std::map<std::string, int>& counts) {
  json::Value out = json::Value::object();
  for (const auto& [name, count] : counts) out[name] = count;
  return out;
}

}  // namespace

std::vector<std::string> ImportReport::notes() const {
  std::vector<std::string> notes;
  notes.push_back("Found " + std::to_string(totalEntries) + " tracks: " + sourceList(sources) + ".");
  if (!sources.contains("spotify")) {
    notes.push_back(
        "No Spotify tracks are in this export. rekordbox 7.2.16 and later can add Spotify tracks to "
        "Collection; "
        "if you use them, add them to Collection or a playlist, then export again.");
  }
  if (unrecognisedLocations > 0) {
    notes.push_back(
        std::to_string(unrecognisedLocations) +
        " tracks have a location Kesta does not recognise. They are still usable; their source shows as "
        "their location type.");
  }
  if (missingBPM > 0) {
    notes.push_back(
        std::to_string(missingBPM) +
        " tracks have no BPM, so Kesta cannot suggest them. Analyze them in rekordbox and export again.");
  }
  if (missingKey > 0) {
    notes.push_back(std::to_string(missingKey) +
                    " tracks have no key. They can still appear, marked Key \u2014, but never as a Pivot.");
  }
  if (!unrecognisedKeyValues.empty()) {
    std::string shown;
    const std::size_t count = std::min<std::size_t>(4, unrecognisedKeyValues.size());
    for (std::size_t i = 0; i < count; ++i) shown += (i == 0 ? "" : ", ") + unrecognisedKeyValues[i];
    notes.push_back("Some key values were not understood: " + shown + ".");
  }
  if (playlists > 0) {
    std::string sentence = plural(playlists, "playlist");
    if (folders > 0) sentence += " in " + plural(folders, "folder");
    sentence += ".";
    if (emptyPlaylists > 0) {
      sentence += ' ';
      sentence += std::to_string(emptyPlaylists);
      sentence += emptyPlaylists == 1 ? " is empty." : " are empty.";
    }
    notes.push_back(sentence);
  } else {
    notes.push_back("This export contains no playlists. Kesta can still use your full collection.");
  }
  if (unresolvedPlaylistEntries > 0) {
    notes.push_back(std::to_string(unresolvedPlaylistEntries) +
                    " playlist entries point to tracks missing from Collection and were skipped.");
  }
  if (energyTagged > 0) {
    notes.push_back(std::to_string(energyTagged) + " tracks carry an energy rating in Comments or Grouping.");
  } else {
    notes.push_back(
        "No energy ratings were found, so Raise energy and Breather use tempo as a stand-in and say so.");
  }
  if (duplicateSongs > 0) {
    notes.push_back(
        std::to_string(duplicateSongs) +
        " songs appear more than once with the same title and artist. They are treated as one song for "
        "repeats.");
  }
  return notes;
}

json::Value ImportReport::toJson() const {
  return json::Value{
      {"totalEntries", totalEntries},
      {"recommendable", recommendable},
      {"missingTitle", missingTitle},
      {"missingBPM", missingBPM},
      {"bpmFromBeatGrid", bpmFromBeatGrid},
      {"missingKey", missingKey},
      {"unrecognisedKeyValues", unrecognisedKeyValues},
      {"keyNotations", countObject(keyNotations)},
      {"sources", countObject(sources)},
      {"unrecognisedLocations", unrecognisedLocations},
      {"energyTagged", energyTagged},
      {"folders", folders},
      {"playlists", playlists},
      {"emptyPlaylists", emptyPlaylists},
      {"unresolvedPlaylistEntries", unresolvedPlaylistEntries},
      {"repeatedPlaylistNames", repeatedPlaylistNames},
      {"duplicateSongs", duplicateSongs},
      {"duplicateTrackIDs", duplicateTrackIDs},
  };
}

ImportReport ImportReport::fromJson(const json::Value& value) {
  return ImportReport{
      json::intField(value, "totalEntries"),
      json::intField(value, "recommendable"),
      json::intField(value, "missingTitle"),
      json::intField(value, "missingBPM"),
      json::intField(value, "bpmFromBeatGrid"),
      json::intField(value, "missingKey"),
      json::asStringList(json::require(value, "unrecognisedKeyValues")),
      countMap(value, "keyNotations"),
      countMap(value, "sources"),
      json::intField(value, "unrecognisedLocations"),
      json::intField(value, "energyTagged"),
      json::intField(value, "folders"),
      json::intField(value, "playlists"),
      json::intField(value, "emptyPlaylists"),
      json::intField(value, "unresolvedPlaylistEntries"),
      json::intField(value, "repeatedPlaylistNames"),
      json::intField(value, "duplicateSongs"),
      json::intField(value, "duplicateTrackIDs"),
  };
}

}  // namespace kesta
