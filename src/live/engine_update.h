#pragma once

#include <map>
#include <optional>
#include <set>
#include <vector>

#include "live/deck_content.h"
#include "live/deck_motion.h"
#include "live/focus.h"
#include "live/frame.h"
#include "live/reader_health.h"
#include "live/scan_record.h"
#include "live/tracker_event.h"
#include "live/tracker_phase.h"
#include "reading/mixer_reading.h"
#include "reading/screen_track.h"
#include "reading/shown_metadata.h"

namespace kesta {

// The result of one scan, handed to the app model. It is complete: even a
// failed scan carries the tracker's whole current judgement.
struct EngineUpdate {
  ScanRecord scan;
  std::vector<TrackerEvent> events;
  std::vector<DeckContent> decks;  // confirmed content of deck 1 and deck 2
  std::set<int> pendingDecks;      // decks with a change not yet confirmed
  std::optional<Focus> focus;
  TrackerPhase phase = TrackerPhase::waiting;
  ReaderHealth health;
  double confirmedAt = 0;  // Clock time the update was assembled

  std::optional<double> scanGapMs;  // since the previous scan's start; none for the first
  std::vector<DeckMotion> motion{DeckMotion::unknown(), DeckMotion::unknown()};
  std::optional<Frame> frame;  // none when connect or capture failed
  std::vector<std::optional<MixerReading>> mixer{std::nullopt, std::nullopt};
  std::map<int, ScreenTrack> screenTracks;
  std::map<int, ShownMetadata> shown;
};

}  // namespace kesta
