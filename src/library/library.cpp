#include "library/library.h"

#include <map>
#include <unordered_map>
#include <unordered_set>

#include "platform/json/json_coding.h"

namespace kesta {

namespace {

constexpr std::string_view kPlaylistPrefix = "playlist:";
constexpr std::string_view kPlaylistsPrefix = "playlists:";
constexpr std::string_view kSourcePrefix = "source:";
constexpr int kRegularPlayCount = 5;

// Foundation's most distant past, 0001-01-01 00:00:00 UTC.
constexpr double kDistantPast = -63114076800.0;

std::string joined(const std::vector<std::string>& parts, std::string_view separator) {
  std::string out;
  for (std::size_t i = 0; i < parts.size(); ++i) {
    if (i > 0) out += separator;
    out += parts[i];
  }
  return out;
}

std::vector<Track> tracksWithIds(const std::vector<Track>& tracks,
                                 const std::unordered_set<std::string_view>& ids) {
  std::vector<Track> out;
  for (const Track& track : tracks) {
    if (ids.contains(track.id)) out.push_back(track);
  }
  return out;
}

using SeenEntries = std::unordered_map<std::string_view, SharedText>;

// A stored playlist whose entries share their text with every earlier entry
// of the same text in `seen`: a repeated id is never held twice, not even
// while it is read.
Playlist decodePlaylist(const json::Value& value, SeenEntries& seen) {
  std::vector<SharedText> entries;
  for (const json::Value& element : json::asArray(json::require(value, "trackIDs"))) {
    if (!element.is_string()) static_cast<void>(json::asString(element));  // throws the kind's error
    const auto& text = element.get_ref<const std::string&>();
    auto found = seen.find(text);
    if (found == seen.end()) {
      SharedText shared(text);
      found = seen.emplace(shared.str(), shared).first;
    }
    entries.push_back(found->second);
  }
  return Playlist{json::stringField(value, "id"), json::stringField(value, "name"),
                  json::asStringList(json::require(value, "folderPath")), std::move(entries)};
}

}  // namespace

std::string Playlist::displayName() const {
  std::vector<std::string> parts = folderPath;
  parts.push_back(name);
  return joined(parts, " \u203A ");
}

json::Value Playlist::toJson() const {
  json::Value entries = json::Value::array();
  for (const SharedText& entry : trackIDs) entries.push_back(entry.str());
  return json::Value{
      {"id", id}, {"name", name}, {"folderPath", folderPath}, {"trackIDs", std::move(entries)}};
}

Playlist Playlist::fromJson(const json::Value& value) {
  SeenEntries seen;
  return decodePlaylist(value, seen);
}

const Library& Library::empty() {
  static const Library library{{}, {}, ImportReport{}, "", Date{kDistantPast}};
  return library;
}

std::vector<PoolChoice> Library::poolChoices() const {
  std::vector<PoolChoice> choices;
  if (tracks.empty()) return choices;

  std::unordered_set<std::string_view> suggestibleIds;
  int regulars = 0;
  int suggestible = 0;
  std::map<std::string, int> bySource;  // ordered by slug
  for (const Track& track : tracks) {
    if (!track.isRecommendable()) continue;
    ++suggestible;
    suggestibleIds.insert(track.id);
    if (track.playCount >= kRegularPlayCount) ++regulars;
    ++bySource[track.source.slug];
  }

  choices.push_back({"all", "Full collection", suggestible});
  for (const Playlist& playlist : playlists) {
    std::unordered_set<std::string_view> counted;
    for (const std::string& id : playlist.trackIDs) {
      if (suggestibleIds.contains(id)) counted.insert(id);
    }
    std::vector<std::string> parts = playlist.folderPath;
    parts.push_back(playlist.name);
    choices.push_back(
        {std::string(kPlaylistPrefix) + playlist.id, joined(parts, " / "), static_cast<int>(counted.size())});
  }
  if (regulars > 0) choices.push_back({"regulars", "Played 5+ times", regulars});
  if (bySource.size() >= 2) {
    for (const auto& [slug, count] : bySource) {
      choices.push_back({std::string(kSourcePrefix) + slug, "Only " + Source{slug}.displayName(), count});
    }
  }
  return choices;
}

std::vector<Track> Library::pool(std::string_view poolId) const {
  if (poolId.starts_with(kPlaylistsPrefix)) {
    const std::vector<std::string> wanted = playlistIDs(poolId);
    const std::unordered_set<std::string_view> wantedSet(wanted.begin(), wanted.end());
    std::unordered_set<std::string_view> union_;
    for (const Playlist& playlist : playlists) {
      if (wantedSet.contains(playlist.id)) union_.insert(playlist.trackIDs.begin(), playlist.trackIDs.end());
    }
    return union_.empty() ? tracks : tracksWithIds(tracks, union_);
  }
  if (poolId.starts_with(kPlaylistPrefix)) {
    const std::string_view id = poolId.substr(kPlaylistPrefix.size());
    for (const Playlist& playlist : playlists) {
      if (playlist.id == id) {
        return tracksWithIds(tracks, {playlist.trackIDs.begin(), playlist.trackIDs.end()});
      }
    }
    return tracks;
  }
  if (poolId.starts_with(kSourcePrefix)) {
    const std::string_view slug = poolId.substr(kSourcePrefix.size());
    std::vector<Track> out;
    for (const Track& track : tracks) {
      if (track.source.slug == slug) out.push_back(track);
    }
    return out;
  }
  if (poolId == "regulars") {
    std::vector<Track> out;
    for (const Track& track : tracks) {
      if (track.playCount >= kRegularPlayCount) out.push_back(track);
    }
    return out;
  }
  return tracks;
}

bool Library::isValidPool(std::string_view poolId) const {
  const std::vector<std::string> ids = playlistIDs(poolId);
  if (ids.empty()) {
    for (const PoolChoice& choice : poolChoices()) {
      if (choice.id == poolId) return true;
    }
    return false;
  }
  std::unordered_set<std::string_view> known;
  for (const Playlist& playlist : playlists) known.insert(playlist.id);
  for (const std::string& id : ids) {
    if (!known.contains(id)) return false;
  }
  return true;
}

std::string Library::poolID(const std::set<std::string>& playlistIds) {
  if (playlistIds.empty()) return "all";
  if (playlistIds.size() == 1) return std::string(kPlaylistPrefix) + *playlistIds.begin();
  // std::set iterates in ascending byte order.
  return std::string(kPlaylistsPrefix) + joined({playlistIds.begin(), playlistIds.end()}, ",");
}

std::vector<std::string> Library::playlistIDs(std::string_view poolId) {
  if (poolId.starts_with(kPlaylistsPrefix)) {
    std::vector<std::string> ids;
    std::string_view rest = poolId.substr(kPlaylistsPrefix.size());
    while (true) {
      const std::size_t comma = rest.find(',');
      const std::string_view piece = rest.substr(0, comma);
      if (!piece.empty()) ids.emplace_back(piece);
      if (comma == std::string_view::npos) break;
      rest.remove_prefix(comma + 1);
    }
    return ids;
  }
  if (poolId.starts_with(kPlaylistPrefix)) return {std::string(poolId.substr(kPlaylistPrefix.size()))};
  return {};
}

json::Value Library::toJson() const {
  json::Value trackList = json::Value::array();
  for (const Track& track : tracks) trackList.push_back(track.toJson());
  json::Value playlistList = json::Value::array();
  for (const Playlist& playlist : playlists) playlistList.push_back(playlist.toJson());
  return json::Value{{"tracks", std::move(trackList)},
                     {"playlists", std::move(playlistList)},
                     {"report", report.toJson()},
                     {"sourceFileName", sourceFileName},
                     {"importedAt", importedAt.secondsSinceReference}};
}

Library Library::fromJson(const json::Value& value) {
  SeenEntries seen;
  return Library{
      json::asList<Track>(json::require(value, "tracks"), Track::fromJson),
      json::asList<Playlist>(json::require(value, "playlists"),
                             [&seen](const json::Value& playlist) { return decodePlaylist(playlist, seen); }),
      ImportReport::fromJson(json::require(value, "report")), json::stringField(value, "sourceFileName"),
      Date{json::numberField(value, "importedAt")}};
}

}  // namespace kesta

std::size_t std::hash<kesta::Playlist>::operator()(const kesta::Playlist& playlist) const noexcept {
  std::size_t seed = std::hash<std::string>{}(playlist.id);
  const auto mix = [&seed](const std::string& text) {
    seed ^= std::hash<std::string>{}(text) + 0x9e3779b97f4a7c15ULL + (seed << 6) + (seed >> 2);
  };
  mix(playlist.name);
  for (const std::string& folder : playlist.folderPath) mix(folder);
  mix("\x1f");
  for (const kesta::SharedText& id : playlist.trackIDs) mix(id.str());
  return seed;
}
