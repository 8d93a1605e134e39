#include "store/resume_point.h"

#include "platform/json/json_coding.h"

namespace kesta {

json::Value ResumePoint::toJson() const {
  json::Value decksJson = json::Value::array();
  for (const auto& content : decks) decksJson.push_back(content.toJson());
  return {{"decks", std::move(decksJson)}, {"deck", deck}, {"at", at.secondsSinceReference}};
}

ResumePoint ResumePoint::fromJson(const json::Value& value) {
  ResumePoint point;
  point.decks = json::asList<DeckContent>(json::require(value, "decks"), DeckContent::fromJson);
  point.deck = json::intField(value, "deck");
  point.at = Date{json::numberField(value, "at")};
  return point;
}

}  // namespace kesta
