#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "library/library.h"
#include "library/stable_key.h"
#include "platform/defaults/defaults_domain.h"
#include "store/legacy_data.h"
#include "store/user_data.h"

// The one-time import of the earlier 0.5 version's data from its user
// defaults, and the later moving of its ratings onto library tracks. Nothing
// here writes to the earlier version's defaults.
namespace kesta::LegacyMigration {

// Opens one defaults domain by name; absent when it cannot be opened.
using DefaultsOpener = std::function<std::optional<defaults::Domain>(const std::string& domain)>;

// The domains to look in, in order: "KESTA_LEGACY_DOMAINS" split at "," (empty
// pieces dropped, no trimming), nothing for exactly "none", and
// "com.kesta.live.beta", "com.kesta.live.prototype" when the variable is unset.
std::vector<std::string> domains();

// The property-list file of each domain under the user's home folder.
std::optional<defaults::Domain> openDomain(const std::string& domain);

// Reads the first domain that holds anything of the earlier version; absent
// when none does. Never fails: what cannot be read is left out. Ratings that
// are not finite numbers are dropped and the rest are clamped to the rating
// scale, so that no old value can upset the ranking's arithmetic.
std::optional<LegacyData> read(const std::vector<std::string>& domains,
                               const DefaultsOpener& defaults = openDomain);

// "Spotify:123" → spotify:123 for the providers the earlier version knew;
// absent for any other form.
std::optional<StableKey> translate(std::string_view oldTrackKey);

// The library as the resolving of old ratings looks at it: every track key,
// and per song the one key its entries share (absent when entries of the song
// differ in key). Made in time proportional to the library, so it is made
// away from the main thread; resolving with it costs a few lookups a rating.
class RatingTargets {
 public:
  explicit RatingTargets(const Library& library);
  // The key an unresolved old rating ties to, if any.
  std::optional<StableKey> resolve(const std::string& oldKey, const LegacyData& legacy) const;

 private:
  std::unordered_set<StableKey> keys_;
  std::unordered_map<std::string, std::optional<StableKey>> keyBySong_;
};

// Moves each unresolved old rating that ties to exactly one track of
// `library` into `userData.ratings` (never replacing a rating already there)
// and drops it from `legacy.unresolvedRatings`. Answers how many were resolved.
int resolveRatings(LegacyData& legacy, const Library& library, UserData& userData);
// The same against the targets of a library made before.
int resolveRatings(LegacyData& legacy, const RatingTargets& targets, UserData& userData);

// The scale of a rating: 0 (none) to 5 stars.
inline constexpr std::int64_t kLowestRating = 0;
inline constexpr std::int64_t kHighestRating = 5;

}  // namespace kesta::LegacyMigration
