#include "reading/deck_reading.h"

#include <string_view>

#include "platform/json/json_coding.h"
#include "platform/variant/overloaded.h"

namespace kesta {

namespace {

constexpr std::string_view kTrack = "track";
constexpr std::string_view kAmbiguous = "ambiguous";
constexpr std::string_view kUnmatched = "unmatched";
constexpr std::string_view kEmpty = "empty";
constexpr std::string_view kNoTitle = "noTitle";
constexpr std::string_view kUnreadable = "unreadable";

}  // namespace

std::optional<MatchStrength> matchStrength(int rawValue) {
  switch (rawValue) {
    case 1:
      return MatchStrength::normal;
    case 2:
      return MatchStrength::strong;
    default:
      return std::nullopt;
  }
}

std::string DeckReading::kind() const {
  return std::visit(Overloaded{
                        [](const Track& t) -> std::string {
                          return t.strength == MatchStrength::strong ? "track-strong" : "track";
                        },
                        [](const Ambiguous&) -> std::string { return "ambiguous"; },
                        [](const Unmatched&) -> std::string { return "unmatched"; },
                        [](const Empty&) -> std::string { return "empty"; },
                        [](const NoTitle&) -> std::string { return "no-title"; },
                        [](const Unreadable&) -> std::string { return "unreadable"; },
                    },
                    value);
}

json::Value DeckReading::toJson() const {
  return std::visit(Overloaded{
                        [](const Track& t) {
                          return json::tagged(kTrack, {{"id", t.id}, {"strength", rawValue(t.strength)}});
                        },
                        [](const Ambiguous& a) {
                          return json::tagged(kAmbiguous, {{"ids", a.ids}});
                        },
                        [](const Unmatched& u) {
                          return json::tagged(kUnmatched, {{"signature", u.signature}});
                        },
                        [](const Empty&) { return json::tagged(kEmpty); },
                        [](const NoTitle&) { return json::tagged(kNoTitle); },
                        [](const Unreadable&) { return json::tagged(kUnreadable); },
                    },
                    value);
}

DeckReading DeckReading::fromJson(const json::Value& value) {
  const std::string name =
      json::oneKey(value, {kTrack, kAmbiguous, kUnmatched, kEmpty, kNoTitle, kUnreadable});
  const json::Value& payload = json::asObject(json::require(value, name));
  if (name == kTrack) {
    const auto raw = json::integerField(payload, "strength");
    const auto strength = raw >= 1 && raw <= 2 ? matchStrength(static_cast<int>(raw)) : std::nullopt;
    if (!strength)
      throw json::DecodingError("Cannot initialize MatchStrength from invalid Int value " +
                                std::to_string(raw));
    return track(json::stringField(payload, "id"), *strength);
  }
  if (name == kAmbiguous) return ambiguous(json::asStringList(json::require(payload, "ids")));
  if (name == kUnmatched) return unmatched(json::stringField(payload, "signature"));
  if (name == kEmpty) return empty();
  if (name == kNoTitle) return noTitle();
  return unreadable();
}

}  // namespace kesta
