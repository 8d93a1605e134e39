#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/json/json_value.h"
#include "suggest/dj_set.h"

namespace kesta {

// What the one-time import brought over from the earlier 0.5 version, kept in
// "legacy-import.json". Old track keys ("Spotify:123") key the maps.
struct LegacyData {
  // Title and artist behind an old track key, as the earlier version stored them.
  struct LegacyTrack {
    std::string title;
    std::string artist;

    json::Value toJson() const;
    static LegacyTrack fromJson(const json::Value& value);

    friend bool operator==(const LegacyTrack&, const LegacyTrack&) = default;
  };

  std::string sourceDomain;  // exactly as it stood in the domain list
  std::optional<std::string> xmlPath;
  std::map<std::string, std::int64_t> ratings;
  std::map<std::string, LegacyTrack> tracks;
  std::vector<DJSet> sets;  // each with `legacy` true
  // The ratings not yet moved into the user data: a subset of `ratings`.
  std::map<std::string, std::int64_t> unresolvedRatings;

  // "xmlPath" only when present (null reads as absent); the other five keys
  // always written and required.
  json::Value toJson() const;
  static LegacyData fromJson(const json::Value& value);

  friend bool operator==(const LegacyData&, const LegacyData&) = default;
};

}  // namespace kesta
