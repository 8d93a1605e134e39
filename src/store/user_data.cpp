#include "store/user_data.h"

#include "platform/json/json_coding.h"

namespace kesta {
namespace {

json::Value counts(const std::map<std::string, int>& map) {
  json::Value object = json::Value::object();
  for (const auto& [key, count] : map) object[key] = count;
  return object;
}

std::map<std::string, int> counts(const json::Value& value) {
  std::map<std::string, int> map;
  for (const auto& [key, count] : json::asObject(value).items()) map[key] = json::asInt(count);
  return map;
}

}  // namespace

json::Value UserData::toJson() const {
  return {{"ratings", counts(ratings)}, {"playedPairs", counts(playedPairs)}};
}

UserData UserData::fromJson(const json::Value& value) {
  return UserData{counts(json::require(value, "ratings")), counts(json::require(value, "playedPairs"))};
}

}  // namespace kesta
