#pragma once

#include <cstddef>
#include <functional>
#include <set>
#include <string>

#include "platform/json/json_value.h"

namespace kesta {

// Where a track's audio comes from, by slug: "local" for files, a streaming
// service ("spotify", "soundcloud", ...), "unknown", or another scheme word.
struct Source {
  std::string slug;

  // The DJ's own files.
  static Source local() { return Source{"local"}; }
  // "spotify", "soundcloud", "apple-music", "beatport", "beatsource", "tidal".
  static const std::set<std::string, std::less<>>& knownStreaming();

  bool isLocal() const { return slug == "local"; }
  // The name shown to the user ("Spotify", "Apple Music", "Unknown", ...).
  std::string displayName() const;

  // {"slug": text}
  json::Value toJson() const;
  static Source fromJson(const json::Value& value);

  friend bool operator==(const Source&, const Source&) = default;
};

}  // namespace kesta

template <>
struct std::hash<kesta::Source> {
  std::size_t operator()(const kesta::Source& source) const noexcept {
    return std::hash<std::string>{}(source.slug);
  }
};
