#include "suggest/set_event.h"

#include <array>
#include <limits>

#include "platform/json/json_coding.h"

namespace kesta {
namespace {

// Indexed by SetEvent::Kind.
constexpr std::array<std::string_view, 6> kKindNames{"shown",  "dismissed",  "loaded",
                                                     "played", "identified", "replayEnabled"};

}  // namespace

SetEvent SetEvent::make(Kind kind, Date at, const Track* track, std::optional<Lane> lane,
                        std::optional<int> deck) {
  SetEvent event{kind, at, std::nullopt, std::nullopt, std::nullopt, std::nullopt, lane, deck};
  if (track != nullptr) {
    event.trackKey = track->key;
    event.songKey = track->songKey();
    event.title = track->title;
    event.artist = track->artist;
  }
  return event;
}

std::string_view SetEvent::kindName(Kind kind) { return kKindNames[static_cast<std::size_t>(kind)]; }

std::optional<SetEvent::Kind> SetEvent::kindFromName(std::string_view name) {
  for (std::size_t i = 0; i < kKindNames.size(); ++i)
    if (kKindNames[i] == name) return static_cast<Kind>(i);
  return std::nullopt;
}

json::Value SetEvent::toJson() const {
  json::Value object = json::Value::object();
  object["kind"] = std::string(kindName(kind));
  object["at"] = at.secondsSinceReference;
  if (trackKey) object["trackKey"] = trackKey->toJson();
  json::putOptional(object, "songKey", songKey);
  json::putOptional(object, "title", title);
  json::putOptional(object, "artist", artist);
  if (lane) object["lane"] = std::string(lane->id());
  json::putOptional(object, "deck", deck);
  return object;
}

SetEvent SetEvent::fromJson(const json::Value& value) {
  const std::string kindText = json::stringField(value, "kind");
  const auto kind = kindFromName(kindText);
  if (!kind) throw json::DecodingError("Unknown set event kind \"" + kindText + "\".");

  SetEvent event{*kind,        Date{json::numberField(value, "at")},
                 std::nullopt, std::nullopt,
                 std::nullopt, std::nullopt,
                 std::nullopt, std::nullopt};
  if (const json::Value* key = json::find(value, "trackKey")) event.trackKey = StableKey::fromJson(*key);
  event.songKey = json::optionalString(value, "songKey");
  event.title = json::optionalString(value, "title");
  event.artist = json::optionalString(value, "artist");
  if (const auto laneText = json::optionalString(value, "lane")) {
    event.lane = Lane::fromRawValue(*laneText);
    if (!event.lane) throw json::DecodingError("Unknown lane \"" + *laneText + "\".");
  }
  if (const auto deck = json::optionalInteger(value, "deck")) {
    if (*deck < std::numeric_limits<int>::min() || *deck > std::numeric_limits<int>::max())
      throw json::DecodingError("Deck number out of range.");
    event.deck = static_cast<int>(*deck);
  }
  return event;
}

}  // namespace kesta
