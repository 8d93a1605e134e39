#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "library/stable_key.h"
#include "library/track.h"
#include "platform/json/json_value.h"
#include "platform/time/date.h"
#include "suggest/lane.h"

namespace kesta {

// One dated happening of a DJ set. A set stores only these; everything else
// about it is computed from the list.
struct SetEvent {
  enum class Kind { shown, dismissed, loaded, played, identified, replayEnabled };

  Kind kind = Kind::shown;
  Date at;  // a calendar date, not the monotonic clock
  std::optional<StableKey> trackKey;
  std::optional<std::string> songKey;
  std::optional<std::string> title;   // as the library holds it, not normalised
  std::optional<std::string> artist;  // as the library holds it, not normalised
  std::optional<Lane> lane;           // shown and dismissed events
  std::optional<int> deck;            // loaded, played and identified events

  // With a track, its key, song key, title and artist are copied in; without
  // one all four stay absent.
  static SetEvent make(Kind kind, Date at, const Track* track, std::optional<Lane> lane = std::nullopt,
                       std::optional<int> deck = std::nullopt);

  // The case name; and back, exactly and case-sensitively.
  static std::string_view kindName(Kind kind);
  static std::optional<Kind> kindFromName(std::string_view name);

  // An object of the field names, absent fields left out. Reading throws
  // json::DecodingError on a missing or mistyped required key or an unknown
  // kind or lane; a null optional reads as absent; unknown keys are ignored.
  json::Value toJson() const;
  static SetEvent fromJson(const json::Value& value);

  friend bool operator==(const SetEvent&, const SetEvent&) = default;
};

}  // namespace kesta
