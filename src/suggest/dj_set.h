#pragma once

#include <optional>
#include <string>
#include <unordered_set>
#include <vector>

#include "library/stable_key.h"
#include "platform/json/json_value.h"
#include "platform/time/date.h"
#include "suggest/lane.h"
#include "suggest/set_event.h"

namespace kesta {

// One DJ set: a dated list of events and nothing else. Every query below makes
// a fresh pass over the events, so none can be stale after an append.
struct DJSet {
  // One row of the set history: one per load of a track.
  struct Entry {
    int id = 0;  // position in the history, from 0
    std::string title;
    std::string artist;
    Date loadedAt;
    bool played = false;
    std::optional<Lane> suggestedAs;  // the lane it was last shown in before the load

    friend bool operator==(const Entry&, const Entry&) = default;
  };

  // One played track followed by the next one played.
  struct Transition {
    StableKey from;
    StableKey to;

    friend bool operator==(const Transition&, const Transition&) = default;
  };

  std::string id;  // UUID, upper-case 36-character form
  Date startedAt;
  std::optional<Date> endedAt;
  std::vector<SetEvent> events;  // oldest first
  bool legacy = false;           // brought over from the earlier version: every row counts as played

  // A new, empty set with a fresh random id.
  static DJSet started(Date startedAt);

  // Loaded, played and identified tracks and songs since the last replay.
  std::unordered_set<StableKey> usedKeys() const;
  std::unordered_set<std::string> usedSongs() const;
  // Dismissed tracks since the last replay.
  std::unordered_set<StableKey> dismissedKeys() const;
  // Whether letting used tracks come back would change anything.
  bool hasReplayableHistory() const;
  // Normalised artists of the last 8 loads (replays aside), the most recent last.
  std::vector<std::string> recentArtists() const;
  // Consecutive pairs of the played tracks, in order.
  std::vector<Transition> playedTransitions() const;
  // The history rows.
  std::vector<Entry> entries() const;

  // An object of the field names; "endedAt" left out when absent. Reading
  // throws json::DecodingError on a missing or mistyped required key (including
  // "legacy"), a malformed id or an unreadable event.
  json::Value toJson() const;
  static DJSet fromJson(const json::Value& value);

  friend bool operator==(const DJSet&, const DJSet&) = default;
};

}  // namespace kesta
