#pragma once

#include <optional>
#include <span>
#include <string>

#include "library/track.h"

namespace kesta {

// A track as a deck shows it, read from the deck's recognised text, so that a
// track the library does not hold can still be shown and followed.
struct ScreenTrack {
  std::string title;   // as shown, trimmed, not normalised
  std::string artist;  // "" when the deck shows only one text line
  double bpm = 0;      // 50...220 in every screen track that `from` makes
  std::optional<std::string> keyText;

  // The title and artist lines (the first two lines that are not labels,
  // readouts or clocks) with the shown BPM; absent without a BPM readout in
  // 50...220 or without a title line.
  static std::optional<ScreenTrack> from(std::span<const std::string> lines);
  // The first Camelot or minor-key readout among the lines, as written.
  static std::optional<std::string> keyTextIn(std::span<const std::string> lines);

  // Id and stable key "screen:" + signature, source "screen"; the musical key
  // is parsed from the key text when it can be.
  Track asTrack(const std::string& signature) const;
  // Whether a track was made from the screen rather than the library.
  static bool isScreenTrack(const Track& track);

  friend bool operator==(const ScreenTrack&, const ScreenTrack&) = default;
};

}  // namespace kesta
