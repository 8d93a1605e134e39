#pragma once

#include <optional>
#include <string>
#include <vector>

#include "library/track.h"
#include "suggest/lane_result.h"

namespace kesta::test {

// A library track described by what the ranking reads; the rest is filled in.
struct TrackSpec {
  std::string id;
  std::optional<double> bpm = 120.0;
  std::optional<std::string> camelot{};  // parsed into the musical key
  std::optional<int> energy{};
  std::string genre{};
  std::string title{};   // "Title <id>" when empty
  std::string artist{};  // "Artist <id>" when empty
  int playCount = 0;
  int stars = 0;
  std::string key{};  // stable key text; "k:<id>" when empty
};

Track makeTrack(const TrackSpec& spec);
std::vector<Track> tracks(const std::vector<TrackSpec>& specs);

// The track ids of a lane's options, in order.
std::vector<std::string> optionIds(const LaneResult& result);

}  // namespace kesta::test
