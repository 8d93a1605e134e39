#include <algorithm>
#include <unordered_map>
#include <unordered_set>

#include "library/text_tools.h"
#include "store/legacy_migration.h"

namespace kesta::LegacyMigration {
namespace {

// The library as the resolving looks at it: every track key, and per song the
// one key its entries share (absent when entries of the song differ in key).
struct LibraryKeys {
  std::unordered_set<StableKey> keys;
  std::unordered_map<std::string, std::optional<StableKey>> keyBySong;

  explicit LibraryKeys(const Library& library) {
    for (const auto& track : library.tracks) {
      keys.insert(track.key);
      const auto [entry, inserted] = keyBySong.try_emplace(track.songKey(), track.key);
      if (!inserted && entry->second != track.key) entry->second.reset();
    }
  }

  std::optional<StableKey> resolve(const std::string& oldKey, const LegacyData& legacy) const {
    if (auto key = translate(oldKey); key && keys.contains(*key)) return key;
    const auto track = legacy.tracks.find(oldKey);
    if (track == legacy.tracks.end()) return std::nullopt;
    const auto song =
        TextTools::normalized(track->second.title) + "|" + TextTools::normalized(track->second.artist);
    const auto group = keyBySong.find(song);
    return group == keyBySong.end() ? std::nullopt : group->second;
  }
};

}  // namespace

int resolveRatings(LegacyData& legacy, const Library& library, UserData& userData) {
  if (legacy.unresolvedRatings.empty()) return 0;
  const LibraryKeys keys(library);
  int resolved = 0;
  const auto unresolved = legacy.unresolvedRatings;
  for (const auto& [oldKey, rating] : unresolved) {
    const auto key = keys.resolve(oldKey, legacy);
    if (!key) continue;
    // A record may come from a file written elsewhere: keep the stored value on the scale.
    userData.ratings.try_emplace(key->raw,
                                 static_cast<int>(std::clamp(rating, kLowestRating, kHighestRating)));
    legacy.unresolvedRatings.erase(oldKey);
    ++resolved;
  }
  return resolved;
}

}  // namespace kesta::LegacyMigration
