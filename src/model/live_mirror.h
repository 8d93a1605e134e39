#pragma once

#include <map>
#include <optional>
#include <set>
#include <vector>

#include "library/track.h"
#include "live/deck_content.h"
#include "live/deck_motion.h"
#include "live/engine_update.h"
#include "live/focus.h"
#include "live/reader_health.h"
#include "live/tracker_phase.h"
#include "model/notifier.h"
#include "reading/library_index.h"
#include "reading/mixer_reading.h"
#include "reading/screen_track.h"
#include "reading/shown_metadata.h"

namespace kesta::model {

// The published mirror of what the engine reads: the reader's health, both
// decks, the focus, the tracker's phase, motion, mixer and what the screen
// shows beyond the library. It answers which library track is where.
//
// Threads: main thread only. Decks are numbered 1 and 2.
class LiveMirror {
 public:
  // `index` is the installed library's, looked up at each call.
  LiveMirror(Notifier& notifier, const LibraryIndex& index) : notifier_(notifier), index_(index) {}

  // Publishes what of `update` the views would show differently; answers
  // whether the decks, the screen's additions and the screen tracks were all
  // unchanged (what the ranking reads besides the focus).
  bool mirror(const EngineUpdate& update, bool oneClickNeedsAccess);
  // A new engine's start: connecting, nothing known.
  void connecting();
  // Stopped: idle, no deck waiting.
  void idle();
  // Another library: what the decks hold is unknown again.
  void forgetDecks();
  void setFocus(std::optional<Focus> focus);
  // The DJ named the track on `deck`; the engine answered with `focus`.
  void identified(int deck, const std::string& trackID, std::optional<Focus> focus);

  const ReaderHealth& health() const { return health_; }
  const std::vector<DeckContent>& decks() const { return decks_; }
  const std::set<int>& pendingDecks() const { return pendingDecks_; }
  const std::optional<Focus>& focus() const { return focus_; }
  TrackerPhase phase() const { return phase_; }
  const std::vector<DeckMotion>& motion() const { return motion_; }
  bool oneClickNeedsAccess() const { return oneClickNeedsAccess_; }
  const std::vector<std::optional<MixerReading>>& mixer() const { return mixer_; }
  const std::map<int, ScreenTrack>& screenTracks() const { return screenTracks_; }

  // The focused track, filled in from the screen, or the screen's own track.
  std::optional<Track> currentTrack() const;
  // The library track on a deck.
  std::optional<Track> track(int deck) const;
  // The versions an ambiguous deck could hold.
  std::vector<Track> candidates(int deck) const;
  // A deck's confirmed content; unknown past the last deck.
  DeckContent deckContent(int deck) const;
  // The deck besides the focused one, when it holds something.
  std::optional<int> otherLoadedDeck() const;
  // The reader cannot see the decks or has failed.
  bool readerProblem() const;

 private:
  friend struct RankingProbe;  // the tests set the decks and the focus without an engine

  Notifier& notifier_;
  const LibraryIndex& index_;
  ReaderHealth health_ = ReaderHealth::idle();
  std::vector<DeckContent> decks_{DeckContent::unknown(), DeckContent::unknown()};
  std::set<int> pendingDecks_;
  std::optional<Focus> focus_;
  TrackerPhase phase_ = TrackerPhase::waiting;
  std::vector<DeckMotion> motion_{DeckMotion::unknown(), DeckMotion::unknown()};
  bool oneClickNeedsAccess_ = false;
  std::vector<std::optional<MixerReading>> mixer_{std::nullopt, std::nullopt};
  std::map<int, ShownMetadata> shown_;
  std::map<int, ScreenTrack> screenTracks_;
};

}  // namespace kesta::model
