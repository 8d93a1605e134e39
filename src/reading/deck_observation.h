#pragma once

#include <optional>
#include <string>

#include "platform/json/json_value.h"
#include "reading/deck_reading.h"
#include "reading/mixer_reading.h"

namespace kesta {

// Everything one scan read on one deck.
struct DeckObservation {
  DeckReading reading;
  std::optional<int> clockSeconds;       // the elapsed-time readout; absent when not read
  std::optional<bool> titleAreaChanged;  // absent when no comparison was made
  std::string rule;                      // the rule or extractor shortcut that gave the reading
  std::optional<MixerReading> mixer;     // the deck's channel; absent when not read

  // The observation of a deck that could not be read: reading unreadable,
  // nothing else.
  static const DeckObservation& unreadable();

  // {"reading", "clockSeconds"?, "titleAreaChanged"?, "rule", "mixer"?}; absent
  // optionals are left out and read back as absent (also when null). Decoding
  // throws json::DecodingError on a missing required key or a mistyped value.
  json::Value toJson() const;
  static DeckObservation fromJson(const json::Value& value);

  friend bool operator==(const DeckObservation&, const DeckObservation&) = default;
};

}  // namespace kesta
