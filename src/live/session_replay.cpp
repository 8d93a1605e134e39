#include "live/session_replay.h"

#include <cstdint>

namespace kesta::SessionReplay {

std::vector<std::string> events(std::span<const Frame> frames, const LoadTracker::SharedSongKeys& songKeys,
                                const std::function<std::string(const TrackerEvent&)>& describe) {
  std::vector<std::string> lines;
  LoadTracker tracker(songKeys);
  std::uint64_t previousSeq = 0;
  for (const auto& frame : frames) {
    if (previousSeq >= frame.seq) tracker = LoadTracker(songKeys);
    for (const auto& event : tracker.ingest(frame)) lines.push_back(describe(event));
    previousSeq = frame.seq;
  }
  return lines;
}

}  // namespace kesta::SessionReplay
