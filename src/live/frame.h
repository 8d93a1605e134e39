#pragma once

#include <cstdint>
#include <string_view>

#include "platform/json/json_value.h"
#include "reading/deck_observation.h"

namespace kesta {

// One scan as the load tracker sees it.
struct Frame {
  std::uint64_t seq = 0;  // rising scan number
  double time = 0;        // Clock seconds of the scan
  DeckObservation deck1;
  DeckObservation deck2;

  // deck1 for 1, deck2 for any other number.
  const DeckObservation& deck(int number) const { return number == 1 ? deck1 : deck2; }

  // A copy in which every unmatched signature is replaced by "redacted-" and
  // its stableHash in lowercase hex, so that kept frames carry no screen text.
  Frame redacted() const;

  // 32-bit FNV-1a of the text's UTF-8 bytes; the same on every run and machine.
  static std::uint32_t stableHash(std::string_view text);

  // {"seq": unsigned, "time": number, "deck1": ..., "deck2": ...}, all required.
  json::Value toJson() const;
  static Frame fromJson(const json::Value& value);

  friend bool operator==(const Frame&, const Frame&) = default;
};

}  // namespace kesta
