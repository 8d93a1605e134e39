#pragma once

#include <optional>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "platform/json/json_value.h"
#include "platform/variant/sum_type.h"

namespace kesta {

// How sure a track verdict is; ordered by its raw value (normal < strong).
enum class MatchStrength : int { normal = 1, strong = 2 };

constexpr int rawValue(MatchStrength strength) { return static_cast<int>(strength); }

// The strength with that raw value; absent for anything but 1 and 2.
std::optional<MatchStrength> matchStrength(int rawValue);

// What one deck area showed in one scan.
struct DeckReading : SumType<DeckReading> {
  // One library track, by its collection id.
  struct Track {
    std::string id;
    MatchStrength strength = MatchStrength::normal;
    friend bool operator==(const Track&, const Track&) = default;
  };
  // Several library tracks remain possible, ids sorted ascending.
  struct Ambiguous {
    std::vector<std::string> ids;
    friend bool operator==(const Ambiguous&, const Ambiguous&) = default;
  };
  // Legible title text that matches nothing in the library.
  struct Unmatched {
    std::string signature;
    friend bool operator==(const Unmatched&, const Unmatched&) = default;
  };
  // The deck shows an empty-deck indicator.
  struct Empty {
    friend bool operator==(const Empty&, const Empty&) = default;
  };
  // Only interface labels, clocks and readouts are visible.
  struct NoTitle {
    friend bool operator==(const NoTitle&, const NoTitle&) = default;
  };
  // No text at all, or a list of titles instead of one deck.
  struct Unreadable {
    friend bool operator==(const Unreadable&, const Unreadable&) = default;
  };

  using Case = std::variant<Track, Ambiguous, Unmatched, Empty, NoTitle, Unreadable>;

  Case value = Unreadable{};

  static DeckReading track(std::string id, MatchStrength strength) {
    return {{}, Track{std::move(id), strength}};
  }
  static DeckReading ambiguous(std::vector<std::string> ids) { return {{}, Ambiguous{std::move(ids)}}; }
  static DeckReading unmatched(std::string signature) { return {{}, Unmatched{std::move(signature)}}; }
  static DeckReading empty() { return {{}, Empty{}}; }
  static DeckReading noTitle() { return {{}, NoTitle{}}; }
  static DeckReading unreadable() { return {{}, Unreadable{}}; }

  // The short label used in diagnostics: "track", "track-strong", "ambiguous",
  // "unmatched", "empty", "no-title", "unreadable".
  std::string kind() const;

  // {"track": {"id": ..., "strength": 1|2}}, {"ambiguous": {"ids": [...]}},
  // {"unmatched": {"signature": ...}}, {"empty": {}}, {"noTitle": {}}, {"unreadable": {}}.
  json::Value toJson() const;
  // Reads the form above; members that name no case are ignored. Throws
  // json::DecodingError when not exactly one case is present, a payload field
  // is missing or mistyped, or the strength is not 1 or 2.
  static DeckReading fromJson(const json::Value& value);

  friend bool operator==(const DeckReading&, const DeckReading&) = default;
};

}  // namespace kesta
