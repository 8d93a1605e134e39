#pragma once

#include <cstdint>

#include "platform/json/json_value.h"

namespace kesta {

// How long one confirmed load took to reach the screen, in milliseconds.
struct LoadLatency {
  std::uint64_t seq = 0;  // the scan the app model noted with the load
  std::int64_t deck = 0;
  double evidenceToConfirmMs = 0;  // first capture showing the track → confirmation
  double confirmToRankMs = 0;      // confirmation → ranking
  double rankToPublishMs = 0;      // ranking → suggestions on screen

  double totalMs() const { return evidenceToConfirmMs + confirmToRankMs + rankToPublishMs; }

  json::Value toJson() const;
  static LoadLatency fromJson(const json::Value& value);

  friend bool operator==(const LoadLatency&, const LoadLatency&) = default;
};

}  // namespace kesta
