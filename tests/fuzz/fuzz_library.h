#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "library/library.h"
#include "library/track.h"
#include "reading/library_index.h"

namespace kesta::fuzz {

// A small library that is hard to read against: shared title prefixes, one
// title under several artists, a repeated id, an untitled entry and titles
// outside Latin script.
inline Library confusableLibrary() {
  const auto track = [](std::string id, std::string title, std::string artist,
                        std::optional<std::string> key = std::nullopt,
                        std::optional<double> bpm = std::nullopt, int duration = 0) {
    Track t;
    t.id = std::move(id);
    t.title = std::move(title);
    t.artist = std::move(artist);
    t.keyText = std::move(key);
    t.bpm = bpm;
    t.durationSeconds = duration;
    return t;
  };
  Library library;
  library.tracks = {
      track("1", "Strobe", "deadmau5", "8A", 128, 637),
      track("2", "Strobe (Club Mix)", "deadmau5", "8A", 128, 640),
      track("3", "Strobe", "Other Artist", "5A", 126, 300),
      track("4", "Nightcrawl", "Some Artist", "Fm", 124, 400),
      track("5", "Overtone", "Kilo"),
      track("6", "Overtone Deluxe", "Kilo"),
      track("7", "Overtone Reprise", "Kilo"),
      track("8", "Deep Waters", "Tide", "11B", 122, 380),
      track("9", "Deep Waters Rising", "Tide", "11B", 122, 381),
      track("10", " ", "Nobody"),
      track("11", "Señorita", "Ñandú", "3A", 100.5, 210),
      track("12", "東京", "アーティスト"),
      track("13", "Midnight Caller", "Vox & The Night Crew"),
      track("14", "Midnight Calling", "Other"),
      track("4", "Nightcrawl", "Some Artist"),
  };
  return library;
}

inline const LibraryIndex& confusableIndex() {
  static const LibraryIndex index(confusableLibrary());
  return index;
}

}  // namespace kesta::fuzz
