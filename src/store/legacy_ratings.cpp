#include <algorithm>

#include "library/text_tools.h"
#include "store/legacy_migration.h"

namespace kesta::LegacyMigration {

RatingTargets::RatingTargets(const Library& library) {
  for (const auto& track : library.tracks) {
    keys_.insert(track.key);
    const auto [entry, inserted] = keyBySong_.try_emplace(track.songKey(), track.key);
    if (!inserted && entry->second != track.key) entry->second.reset();
  }
}

std::optional<StableKey> RatingTargets::resolve(const std::string& oldKey, const LegacyData& legacy) const {
  if (auto key = translate(oldKey); key && keys_.contains(*key)) return key;
  const auto track = legacy.tracks.find(oldKey);
  if (track == legacy.tracks.end()) return std::nullopt;
  const auto song =
      TextTools::normalized(track->second.title) + "|" + TextTools::normalized(track->second.artist);
  const auto group = keyBySong_.find(song);
  return group == keyBySong_.end() ? std::nullopt : group->second;
}

int resolveRatings(LegacyData& legacy, const Library& library, UserData& userData) {
  if (legacy.unresolvedRatings.empty()) return 0;
  return resolveRatings(legacy, RatingTargets(library), userData);
}

int resolveRatings(LegacyData& legacy, const RatingTargets& targets, UserData& userData) {
  int resolved = 0;
  const auto unresolved = legacy.unresolvedRatings;
  for (const auto& [oldKey, rating] : unresolved) {
    const auto key = targets.resolve(oldKey, legacy);
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
