#pragma once

#include <functional>
#include <span>
#include <string>
#include <vector>

#include "live/frame.h"
#include "live/load_tracker.h"
#include "live/tracker_event.h"

namespace kesta::SessionReplay {

// Feeds recorded frames through a fresh load tracker (default configuration)
// and describes each event it reports, in order. A frame numbered no higher
// than the one before starts a new recording, and with it a fresh tracker;
// every tracker reads the one shared map.
std::vector<std::string> events(std::span<const Frame> frames, const LoadTracker::SharedSongKeys& songKeys,
                                const std::function<std::string(const TrackerEvent&)>& describe);

}  // namespace kesta::SessionReplay
