#pragma once

#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "live/deck_content.h"
#include "live/deck_motion.h"
#include "live/focus.h"
#include "live/reader_health.h"
#include "live/scan_record.h"
#include "live/tracker_phase.h"
#include "model/card_heading.h"
#include "model/library_state.h"
#include "model/load_status.h"
#include "reading/library_index.h"
#include "reading/mixer_reading.h"
#include "reading/screen_track.h"

// The one line of status under the decks and the corner card's heading, worked
// out from a snapshot of the app model's state by a fixed cascade of rules in
// which the first rule that holds wins. Every text comes as a full form (the
// full window) and a short form (the corner card).
//
// Pure functions of their input: no clock, no file, no locale. Main thread in
// practice, as the snapshot borrows from the model.
namespace kesta::model {

// What the status rules read. Deck lists are indexed from 0 for Deck 1; a list
// shorter than the deck asked for counts as holding nothing for it.
struct StatusInputs {
  LoadStatus loadStatus = LoadStatus::idle();
  std::optional<std::string> loadStatusShort;
  std::optional<std::string> notice;
  std::optional<std::string> noticeShort;
  LibraryState libraryState = LibraryState::none();
  bool libraryEmpty = true;
  bool watching = false;
  bool screenPermission = true;
  bool askedForScreenPermission = false;
  ReaderHealth health;
  const ScanRecord* newestScan = nullptr;  // the diagnostics log's newest scan, if any
  bool oneClickNeedsAccess = false;
  bool oneClickLoad = false;
  bool exportChangedDuringSet = false;
  std::set<int> pendingDecks;
  TrackerPhase phase = TrackerPhase::waiting;
  bool hasResumePoint = false;  // a place to resume following was remembered at the last stop
  std::optional<Focus> focus;
  std::vector<DeckMotion> motion;
  std::vector<std::optional<MixerReading>> mixer;
  std::map<int, ScreenTrack> screenTracks;  // by deck number
  const LibraryIndex* index = nullptr;      // names the track being loaded
  // The export's day as the user reads it ("Mar 14") when rekordbox changed
  // since that export (empty text when its date is unknown); absent when it
  // did not. Asked only for the full text about a track missing from the
  // library, as it looks at the disk.
  std::function<std::optional<std::string>()> staleExportDay;
};

// The status line: the full text, or with `compact` the short one.
std::string statusText(const StatusInputs& state, bool compact);

// The corner card's two-line heading.
CardHeading cardHeading(const StatusInputs& state);

}  // namespace kesta::model
