#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "library/musical_key.h"
#include "library/source.h"
#include "library/stable_key.h"
#include "platform/json/json_value.h"

namespace kesta {

// One entry of the imported collection, a value passed around by every
// subsystem. Aggregate-initialise it in field order (the memberwise form).
struct Track {
  std::string id;  // the collection's TrackID, unique within one import
  StableKey key;   // identity across re-imports
  Source source;
  std::string title;
  std::string artist;
  std::string remixer;
  std::string genre;
  std::optional<double> bpm;
  std::optional<std::string> keyText;  // as the collection wrote it
  std::optional<MusicalKey> musicalKey;
  std::optional<int> energy;  // 1...10
  int durationSeconds = 0;
  int playCount = 0;
  int stars = 0;  // 0...5
  int hotCueCount = 0;
  int memoryCueCount = 0;

  // The title, spaces and tabs trimmed, is not empty.
  bool hasTitle() const;
  bool hasBPM() const { return bpm && *bpm > 0; }
  // A parsed key (key text that did not parse does not count).
  bool hasKey() const { return musicalKey.has_value(); }
  // Only such tracks are suggested.
  bool isRecommendable() const { return hasTitle() && hasBPM(); }
  // normalized(title) + "|" + normalized(artist): shared by duplicate entries of one song.
  std::string songKey() const;

  // `artist`, or "Unknown artist" when it is empty.
  std::string displayArtist() const;
  // "—" without a BPM, "128" for a whole value, else one decimal ("127.5").
  std::string displayBPM() const;
  // `keyText` (even when empty), else "—".
  std::string displayKey() const;

  // Object of the field names; "bpm", "keyText", "musicalKey" and "energy" are
  // left out when absent. Decoding fails (json::DecodingError) on a missing or
  // mistyped required key; unknown keys are ignored.
  json::Value toJson() const;
  static Track fromJson(const json::Value& value);

  friend bool operator==(const Track&, const Track&) = default;
};

}  // namespace kesta

template <>
struct std::hash<kesta::Track> {
  std::size_t operator()(const kesta::Track& track) const noexcept;
};
