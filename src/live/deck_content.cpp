#include "live/deck_content.h"

#include "platform/json/json_coding.h"
#include "platform/variant/overloaded.h"

namespace kesta {

namespace {

constexpr std::string_view kUnknown = "unknown";
constexpr std::string_view kEmpty = "empty";
constexpr std::string_view kTrack = "track";
constexpr std::string_view kAmbiguous = "ambiguous";
constexpr std::string_view kUnmatched = "unmatched";

}  // namespace

std::optional<std::string> DeckContent::trackID() const {
  if (const auto* track = as<Track>()) return track->id;
  return std::nullopt;
}

bool DeckContent::hasMedia() const { return is<Track>() || is<Ambiguous>() || is<Unmatched>(); }

std::string_view DeckContent::caseName() const {
  return std::visit(Overloaded{
                        [](const Unknown&) { return kUnknown; },
                        [](const Empty&) { return kEmpty; },
                        [](const Track&) { return kTrack; },
                        [](const Ambiguous&) { return kAmbiguous; },
                        [](const Unmatched&) { return kUnmatched; },
                    },
                    value);
}

json::Value DeckContent::toJson() const {
  return std::visit(Overloaded{
                        [](const Unknown&) { return json::tagged(kUnknown); },
                        [](const Empty&) { return json::tagged(kEmpty); },
                        [](const Track& t) {
                          return json::tagged(kTrack, {{"_0", t.id}});
                        },
                        [](const Ambiguous& a) {
                          return json::tagged(kAmbiguous, {{"_0", a.ids}});
                        },
                        [](const Unmatched& u) {
                          return json::tagged(kUnmatched, {{"_0", u.text}});
                        },
                    },
                    value);
}

DeckContent DeckContent::fromJson(const json::Value& value) {
  const std::string name = json::oneKey(value, {kUnknown, kEmpty, kTrack, kAmbiguous, kUnmatched});
  const json::Value& payload = json::asObject(json::require(value, name));
  if (name == kUnknown) return unknown();
  if (name == kEmpty) return empty();
  if (name == kTrack) return track(json::stringField(payload, "_0"));
  if (name == kAmbiguous) return ambiguous(json::asStringList(json::require(payload, "_0")));
  return unmatched(json::stringField(payload, "_0"));
}

}  // namespace kesta
