#include "store/legacy_data.h"

#include "platform/json/json_coding.h"

namespace kesta {
namespace {

json::Value ratingsJson(const std::map<std::string, std::int64_t>& ratings) {
  json::Value object = json::Value::object();
  for (const auto& [key, rating] : ratings) object[key] = rating;
  return object;
}

std::map<std::string, std::int64_t> ratingsFrom(const json::Value& value) {
  std::map<std::string, std::int64_t> ratings;
  for (const auto& [key, rating] : json::asObject(value).items()) ratings[key] = json::asInteger(rating);
  return ratings;
}

}  // namespace

json::Value LegacyData::LegacyTrack::toJson() const { return {{"title", title}, {"artist", artist}}; }

LegacyData::LegacyTrack LegacyData::LegacyTrack::fromJson(const json::Value& value) {
  return LegacyTrack{json::stringField(value, "title"), json::stringField(value, "artist")};
}

json::Value LegacyData::toJson() const {
  json::Value tracksJson = json::Value::object();
  for (const auto& [key, track] : tracks) tracksJson[key] = track.toJson();
  json::Value setsJson = json::Value::array();
  for (const auto& set : sets) setsJson.push_back(set.toJson());

  json::Value object = {{"sourceDomain", sourceDomain},
                        {"ratings", ratingsJson(ratings)},
                        {"tracks", std::move(tracksJson)},
                        {"sets", std::move(setsJson)},
                        {"unresolvedRatings", ratingsJson(unresolvedRatings)}};
  json::putOptional(object, "xmlPath", xmlPath);
  return object;
}

LegacyData LegacyData::fromJson(const json::Value& value) {
  LegacyData data;
  data.sourceDomain = json::stringField(value, "sourceDomain");
  data.xmlPath = json::optionalString(value, "xmlPath");
  data.ratings = ratingsFrom(json::require(value, "ratings"));
  for (const auto& [key, track] : json::asObject(json::require(value, "tracks")).items()) {
    data.tracks.emplace(key, LegacyTrack::fromJson(track));
  }
  data.sets = json::asList<DJSet>(json::require(value, "sets"), DJSet::fromJson);
  data.unresolvedRatings = ratingsFrom(json::require(value, "unresolvedRatings"));
  return data;
}

}  // namespace kesta
