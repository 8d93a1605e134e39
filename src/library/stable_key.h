#pragma once

#include <compare>
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

#include "platform/json/json_value.h"

namespace kesta {

// The durable identity of a track across re-imports, under which ratings,
// played pairs and set history are stored. Forms of `raw`:
//   "file:" + 24 lowercase hex digits (local files),
//   "<service>:" + id (streaming entries, e.g. "spotify:4uLU6hMC"),
//   "meta:" + normalised title + "|" + normalised artist + "|" + seconds,
//   "screen:..." (tracks read off the screen).
// Ordered by `raw`: the last tie-break wherever tracks are ranked.
struct StableKey {
  std::string raw;

  // "file:" and the first 12 bytes of the SHA-256 of the location's UTF-8 bytes.
  static StableKey forLocation(std::string_view location);
  // For a track that no location identifies; nothing is hashed.
  static StableKey forMetadata(std::string_view title, std::string_view artist, int duration);

  const std::string& description() const { return raw; }

  // {"raw": text}
  json::Value toJson() const;
  static StableKey fromJson(const json::Value& value);

  friend bool operator==(const StableKey&, const StableKey&) = default;
  friend std::strong_ordering operator<=>(const StableKey&, const StableKey&) = default;
};

}  // namespace kesta

template <>
struct std::hash<kesta::StableKey> {
  std::size_t operator()(const kesta::StableKey& key) const noexcept {
    return std::hash<std::string>{}(key.raw);
  }
};
