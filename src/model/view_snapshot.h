#pragma once

#include <array>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "library/pool_choice.h"
#include "library/track.h"
#include "live/deck_content.h"
#include "live/focus.h"
#include "live/tracker_phase.h"
#include "model/card_heading.h"
#include "model/changed_fields.h"
#include "model/load_status.h"
#include "suggest/dj_set.h"
#include "suggest/lane.h"
#include "suggest/suggestion.h"

// A plain copy of what the windows show, taken from the app model in parts:
// each part is taken again only when a field it is made of changed, so the
// views read values, never the model. The view functions (deck text, lane
// rows, load button, now playing, set rows…) are pure functions of it.
//
// Main thread only, like the model it is taken from. Taking it cannot fail.
namespace kesta::model {

class AppModel;

// The two decks rekordbox shows.
inline constexpr int kDeckCount = 2;

// One deck: what rekordbox holds on it and the library tracks that names.
struct DeckView {
  DeckContent content = DeckContent::unknown();
  std::optional<Track> track;     // the library track it holds, when it is one
  std::vector<Track> candidates;  // the versions an ambiguous deck could hold
  bool checking = false;          // the engine is confirming a change on it
  friend bool operator==(const DeckView&, const DeckView&) = default;
};

// One lane: the option shown in it and why it may be empty.
struct LaneView {
  std::optional<Suggestion> shown;
  int options = 0;
  std::optional<std::string> emptyReason;
  std::optional<std::string> emptyShort;  // the short reason, the long one when it has none
  friend bool operator==(const LaneView&, const LaneView&) = default;
};

// The installed library as its summary and report show it.
struct LibraryView {
  bool empty = true;
  std::string fileName;
  std::vector<std::string> notes;  // the import report's notes
  int totalEntries = 0;
  int recommendable = 0;
  int playlists = 0;
  std::optional<std::string> legacyNote;
  friend bool operator==(const LibraryView&, const LibraryView&) = default;
};

struct ViewSnapshot {
  // Connection and settings.
  bool watching = false;
  bool readerProblem = false;  // connected, but the decks cannot be read
  bool screenPermission = false;
  bool askedForScreenPermission = false;
  bool oneClickNeedsAccess = false;
  bool oneClickLoad = false;
  bool includeRawText = false;
  std::string versionLabel;

  LibraryView library;
  std::optional<std::string> exportAge;  // "exported 3 days ago" and the like

  // The decks and what is followed.
  std::array<DeckView, kDeckCount> decks;
  std::optional<Focus> focus;
  TrackerPhase phase = TrackerPhase::waiting;
  std::optional<Track> currentTrack;
  int currentRating = 0;
  std::optional<int> otherLoadedDeck;

  // The lanes, in Lane::allCases() order.
  std::array<LaneView, Lane::kCount> lanes;
  bool ranking = false;

  // One-click load and undo.
  LoadStatus loadStatus;
  bool dismissalUndoable = false;

  // The status line in both forms and the corner card's heading.
  std::string statusLine;
  std::string compactStatus;
  CardHeading heading;

  // Where suggestions come from.
  std::string poolLabel;
  std::string poolID;
  std::vector<PoolChoice> poolChoices;
  std::set<std::string> selectedPlaylistIDs;

  // The running set and the archived ones, newest first.
  DJSet activeSet;
  std::vector<DJSet> archivedSets;
  bool canReplay = false;

  const DeckView& deck(int number) const { return decks.at(static_cast<std::size_t>(number - 1)); }
  const LaneView& lane(Lane lane) const { return lanes.at(static_cast<std::size_t>(lane)); }
};

// The fields each part of the snapshot is made of. The texts that read the
// clock or the diagnostics log (the status line, the heading, the export's
// age) are taken again at every change.
inline constexpr ChangedFields kConnectionFields = ChangedFields(Field::watching) | Field::health |
                                                   Field::screenPermission | Field::askedForScreenPermission |
                                                   Field::oneClickNeedsAccess | Field::oneClickLoad |
                                                   Field::includeRawText;
inline constexpr ChangedFields kLibraryFields = ChangedFields(Field::library) | Field::legacyNote;
inline constexpr ChangedFields kDeckFields = ChangedFields(Field::decks) | Field::pendingDecks |
                                             Field::focus | Field::phase | Field::library | Field::shown |
                                             Field::screenTracks | Field::userData | Field::watching;
inline constexpr ChangedFields kLaneFields = ChangedFields(Field::lanes) | Field::laneCursor | Field::ranking;
inline constexpr ChangedFields kLoadFields = ChangedFields(Field::loadStatus) | Field::lastDismissed;
inline constexpr ChangedFields kPoolFields =
    ChangedFields(Field::poolChoices) | Field::poolID | Field::library;
inline constexpr ChangedFields kSetFields = ChangedFields(Field::activeSet) | Field::archivedSets;

// Whether `fields` holds any of `watched`.
constexpr bool touches(ChangedFields fields, ChangedFields watched) {
  return (fields.bits() & watched.bits()) != 0;
}

// Every field, for what a first snapshot is taken from and for the views
// that show the status texts, which read nearly every field.
inline constexpr ChangedFields kEveryField = [] {
  ChangedFields all;
  for (unsigned i = 0; i <= static_cast<unsigned>(Field::lastDismissed); ++i) all |= static_cast<Field>(i);
  return all;
}();

// Takes again the parts of `snapshot` made of `fields`, and the texts taken at every change.
void refreshSnapshot(ViewSnapshot& snapshot, const AppModel& model, ChangedFields fields);

}  // namespace kesta::model
