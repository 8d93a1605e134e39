#include "store/legacy_migration.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <new>
#include <utility>

#include "library/text_tools.h"
#include "platform/json/json_coding.h"

namespace kesta::LegacyMigration {
namespace {

constexpr std::string_view kPathKey = "Kesta.lastRekordboxXMLPath.v1";
constexpr std::string_view kRatingsKey = "Kesta.trackRatings.v1";
constexpr std::string_view kLibraryKey = "Kesta.savedLibrary.v1";
constexpr std::string_view kSetsKey = "Kesta.savedSets.v1";
constexpr std::string_view kActiveSetKey = "Kesta.activeSet.v1";

// The earlier version's provider names and the source slugs they became.
constexpr std::array<std::pair<std::string_view, std::string_view>, 4> kProviders{{
    {"SoundCloud", "soundcloud"},
    {"Apple Music", "apple-music"},
    {"Spotify", "spotify"},
    {"Beatport", "beatport"},
}};

// The earlier version's records, as found in its byte values.
struct OldTrack {
  std::int64_t id = 0;
  std::string title;
  std::string artist;
  std::string provider;
  std::optional<std::int64_t> sourceID;

  static OldTrack fromJson(const json::Value& value) {
    return OldTrack{json::integerField(value, "id"), json::stringField(value, "title"),
                    json::stringField(value, "artist"), json::stringField(value, "provider"),
                    json::optionalInteger(value, "sourceID")};
  }

  std::string oldTrackKey() const { return provider + ":" + std::to_string(sourceID.value_or(id)); }
};

struct OldSavedLibrary {
  std::string sourcePath;
  std::vector<OldTrack> tracks;

  static OldSavedLibrary fromJson(const json::Value& value) {
    return OldSavedLibrary{json::stringField(value, "sourcePath"),
                           json::asList<OldTrack>(json::require(value, "tracks"), OldTrack::fromJson)};
  }
};

struct OldPlay {
  Date at;
  std::string trackKey;
  std::string title;
  std::string artist;

  static OldPlay fromJson(const json::Value& value) {
    // The lane is checked for its kind and then dropped.
    json::optionalString(value, "recommendationLane");
    return OldPlay{Date{json::numberField(value, "at")}, json::stringField(value, "trackKey"),
                   json::stringField(value, "title"), json::stringField(value, "artist")};
  }
};

struct OldSet {
  Date startedAt;
  std::optional<Date> endedAt;
  std::vector<OldPlay> plays;

  static OldSet fromJson(const json::Value& value) {
    OldSet set{Date{json::numberField(value, "startedAt")}, std::nullopt, {}};
    if (const auto ended = json::optionalNumber(value, "endedAt")) set.endedAt = Date{*ended};
    if (const json::Value* plays = json::find(value, "plays"))
      set.plays = json::asList<OldPlay>(*plays, OldPlay::fromJson);
    return set;
  }
};

// Decodes a whole byte value, or nothing when any part of it does not decode.
template <class T, class Decode>
std::optional<T> decode(const std::optional<std::string>& bytes, Decode decodeJson) {
  if (!bytes) return std::nullopt;
  try {
    return decodeJson(json::parse(*bytes));
  } catch (const json::DecodingError&) {
    return std::nullopt;
  } catch (const nlohmann::json::exception&) {
    return std::nullopt;
  } catch (const std::bad_alloc&) {
    return std::nullopt;
  }
}

// A number of any kind as a rating on the scale; absent for other values and
// for numbers that are not finite.
std::optional<std::int64_t> ratingValue(const defaults::Value& value) {
  if (const bool* flag = value.boolean()) return *flag ? 1 : 0;
  if (const std::int64_t* integer = value.integer()) {
    return std::clamp(*integer, kLowestRating, kHighestRating);
  }
  if (const double* real = value.real()) {
    if (!std::isfinite(*real)) return std::nullopt;
    const double clamped = std::clamp(std::trunc(*real), double(kLowestRating), double(kHighestRating));
    return static_cast<std::int64_t>(clamped);
  }
  return std::nullopt;
}

std::map<std::string, std::int64_t> keptRatings(const defaults::Domain& domain) {
  std::map<std::string, std::int64_t> ratings;
  const auto map = domain.dictionary(kRatingsKey);
  if (!map) return ratings;
  for (const auto& [key, value] : *map) {
    if (const auto rating = ratingValue(value)) ratings.emplace(key, *rating);
  }
  return ratings;
}

std::optional<DJSet> converted(const OldSet& old) {
  if (old.plays.empty()) return std::nullopt;
  DJSet set = DJSet::started(old.startedAt);
  set.endedAt = old.endedAt ? *old.endedAt : old.plays.back().at;
  set.legacy = true;
  for (const auto& play : old.plays) {
    SetEvent event;
    event.kind = SetEvent::Kind::loaded;
    event.at = play.at;
    event.trackKey = translate(play.trackKey);
    event.songKey = TextTools::normalized(play.title) + "|" + TextTools::normalized(play.artist);
    event.title = play.title;
    event.artist = play.artist;
    set.events.push_back(std::move(event));
  }
  return set;
}

}  // namespace

std::vector<std::string> domains() {
  const char* value = std::getenv("KESTA_LEGACY_DOMAINS");
  if (!value) return {"com.kesta.live.beta", "com.kesta.live.prototype"};
  const std::string_view text = value;
  if (text == "none") return {};
  std::vector<std::string> names;
  std::size_t start = 0;
  while (start <= text.size()) {
    const std::size_t comma = std::min(text.find(',', start), text.size());
    if (comma > start) names.emplace_back(text.substr(start, comma - start));
    start = comma + 1;
  }
  return names;
}

std::optional<defaults::Domain> openDomain(const std::string& domain) {
  return defaults::Domain::open(domain);
}

std::optional<StableKey> translate(std::string_view oldTrackKey) {
  const std::size_t colon = oldTrackKey.find(':');
  if (colon == std::string_view::npos) return std::nullopt;
  const std::string_view provider = oldTrackKey.substr(0, colon);
  const std::string_view rest = oldTrackKey.substr(colon + 1);
  const auto entry = std::find_if(kProviders.begin(), kProviders.end(),
                                  [&](const auto& pair) { return pair.first == provider; });
  if (entry == kProviders.end() || rest.empty()) return std::nullopt;
  return StableKey{std::string(entry->second) + ":" + std::string(rest)};
}

std::optional<LegacyData> read(const std::vector<std::string>& domains, const DefaultsOpener& defaults) {
  for (const auto& name : domains) {
    const auto domain = defaults(name);
    if (!domain) continue;
    auto path = domain->string(kPathKey);
    auto ratings = keptRatings(*domain);
    const auto libraryBytes = domain->data(kLibraryKey);
    if (!path && ratings.empty() && !libraryBytes) continue;

    LegacyData data;
    data.sourceDomain = name;
    if (const auto library = decode<OldSavedLibrary>(libraryBytes, OldSavedLibrary::fromJson)) {
      if (!path) path = library->sourcePath;
      for (const auto& track : library->tracks) {
        data.tracks.insert_or_assign(track.oldTrackKey(), LegacyData::LegacyTrack{track.title, track.artist});
      }
    }
    data.xmlPath = std::move(path);

    std::vector<OldSet> oldSets;
    if (auto active = decode<OldSet>(domain->data(kActiveSetKey), OldSet::fromJson)) {
      oldSets.push_back(std::move(*active));
    }
    const auto saved = decode<std::vector<OldSet>>(domain->data(kSetsKey), [](const json::Value& value) {
      return json::asList<OldSet>(value, OldSet::fromJson);
    });
    if (saved) oldSets.insert(oldSets.end(), saved->begin(), saved->end());
    for (const auto& old : oldSets) {
      if (auto set = converted(old)) data.sets.push_back(std::move(*set));
    }

    data.unresolvedRatings = ratings;
    data.ratings = std::move(ratings);
    return data;
  }
  return std::nullopt;
}

}  // namespace kesta::LegacyMigration
