#pragma once

#include <map>
#include <string>

#include "platform/json/json_value.h"

namespace kesta {

// What the system learns from the DJ, kept in "userdata.json".
struct UserData {
  // Ratings (stars) by the raw text of the track's StableKey.
  std::map<std::string, int> ratings;
  // How often one track followed another, by
  // RecommendationRequest::pairKey(earlier, later); taken as they stand.
  std::map<std::string, int> playedPairs;

  // {"playedPairs", "ratings"}, both required objects of integers.
  json::Value toJson() const;
  static UserData fromJson(const json::Value& value);

  friend bool operator==(const UserData&, const UserData&) = default;
};

}  // namespace kesta
