#pragma once

#include <array>
#include <cstdint>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "live/deck_content.h"
#include "live/focus.h"
#include "live/frame.h"
#include "live/tracker_event.h"
#include "live/tracker_phase.h"
#include "reading/mixer_reading.h"

namespace kesta {

// The load tracker's tuning; LoadTracker::Config.
struct LoadTrackerConfig {
  int framesForStrongTrack = 1;
  int framesForTrack = 2;
  int framesForAmbiguous = 2;
  int framesForEmpty = 2;
  int framesForInferredEmpty = 6;  // no-title frames that make a deck count as emptied
  int framesForUnmatched = 6;
  double pendingWindow = 3.0;  // seconds from a run's first frame within which it may grow
  double startupGrace = 2.0;   // seconds to wait for both decks at start-up
  int playEvidenceSeconds = 30;
  bool followAudibleDeck = true;
  int framesForAudibleSwitch = 8;
  double playingWindow = 2.5;  // a deck plays when its readout changed within this time
};

// Turns the stream of scan frames into what each deck is confirmed to hold and
// which deck the DJ mixes from. It is slow to believe: a differing reading is
// counted as a pending candidate until enough frames agree within a window.
// A plain value; its owner serialises every call.
//
// The song keys are built once per library and shared, never copied: the
// tracker, its copies, the engine and the app model hold the one immutable
// map. A shared map is never null; an empty library has an empty one.
class LoadTracker {
 public:
  // Track id to song key (normalised title "|" normalised artist).
  using SongKeys = std::unordered_map<std::string, std::string>;
  // The one map of a library, read from any thread; never null.
  using SharedSongKeys = std::shared_ptr<const SongKeys>;
  // A shared empty map, for no library.
  static SharedSongKeys noSongKeys();

  using Config = LoadTrackerConfig;

  // A readout value and the frame time it was seen.
  struct ClockMark {
    int value = 0;
    double at = 0;
    friend bool operator==(const ClockMark&, const ClockMark&) = default;
  };
  // A readout value and the frame time at which the readout last changed.
  struct ClockChange {
    int value = 0;
    double changedAt = 0;
    friend bool operator==(const ClockChange&, const ClockChange&) = default;
  };

  struct DeckState {
    DeckContent confirmed;
    double confirmedAt = 0;
    std::optional<DeckContent> pending;
    int pendingCount = 0;
    double pendingSince = 0;
    bool pendingStripChanged = false;     // a frame of the pending run showed a title-area change
    std::optional<ClockMark> firstClock;  // play-evidence baseline
    bool playReported = false;
    std::optional<ClockChange> lastClock;
    std::optional<MixerReading> mixer;
    double mixerAt = -std::numeric_limits<double>::infinity();
    std::optional<DeckContent> restorable;  // the track held before the deck was inferred empty

    // Only what the deck holds and the pending run count; times, readouts and
    // mixer readings do not.
    friend bool operator==(const DeckState& a, const DeckState& b) {
      return a.confirmed == b.confirmed && a.pending == b.pending && a.pendingCount == b.pendingCount;
    }
  };

  explicit LoadTracker(SharedSongKeys songKeys = noSongKeys(), Config config = Config());

  // One tracker step; the events of this frame, in order.
  std::vector<TrackerEvent> ingest(const Frame& frame);

  // The state of deck 1 or 2; throws std::out_of_range for any other number.
  const DeckState& deck(int number) const { return decks_.at(static_cast<std::size_t>(number - 1)); }
  const std::optional<Focus>& focus() const { return focus_; }
  TrackerPhase phase() const { return phase_; }
  const Config& config() const { return config_; }

  // The DJ (or a resumption) makes a loaded deck the focus; the focus event,
  // or nothing when the deck is not 1 or 2 or holds no media.
  std::vector<TrackerEvent> chooseDeck(int deck, double at, FocusKind kind = FocusKind::userChoice);
  // The DJ names the track on a deck: refined, then focus when it is the focus deck.
  std::vector<TrackerEvent> resolve(int deck, const std::string& trackID);

  // Whether two texts of tracks not in the library name the same track: equal,
  // or their parts before the first "|" are at least 6 characters and within a
  // small edit distance. Texts are compared as given.
  static bool sameUnlistedText(std::string_view a, std::string_view b);

 private:
  bool equivalent(const DeckContent& a, const DeckContent& b) const;
  const std::string* songKey(const std::string& trackID) const;
  int threshold(const DeckReading& reading) const;
  // One deck's step: its readouts first, then what its reading proposes.
  void stepDeck(int number, const DeckObservation& observation, double now,
                std::vector<TrackerEvent>& events);
  // Keeps the mixer and time readouts; reports play evidence for a confirmed track.
  void noteReadouts(int number, const DeckObservation& observation, double now, DeckState& state,
                    std::vector<TrackerEvent>& events) const;
  // Counts the reading's proposal towards a confirmation, or refuses it.
  void weighReading(int number, const DeckObservation& observation, double now, DeckState& state,
                    std::vector<TrackerEvent>& events) const;
  // The pending content becomes the confirmed one; the event says how it changed.
  void confirmPending(int number, const DeckReading& reading, double now, double evidenceAt, DeckState& state,
                      std::vector<TrackerEvent>& events) const;
  void setFocus(int deck, DeckContent content, FocusKind kind, double at, std::vector<TrackerEvent>& events);
  void followUp(std::vector<TrackerEvent>& events);
  void decideStartup(double now, std::vector<TrackerEvent>& events);
  void followAudible(double now, bool hadLoad, std::vector<TrackerEvent>& events);
  void resolveAmbiguity(double now, std::vector<TrackerEvent>& events);
  bool isPlaying(const DeckState& state, double now) const;

  std::array<DeckState, 2> decks_{};
  std::optional<Focus> focus_;
  TrackerPhase phase_ = TrackerPhase::waiting;
  std::optional<std::uint64_t> lastSeq_;
  std::optional<double> firstFrameTime_;
  std::uint64_t focusCounter_ = 0;
  bool ambiguityFromLoads_ = false;
  int audibleStreak_ = 0;
  SharedSongKeys songKeys_;  // shared: copies of a tracker stay cheap
  Config config_;
};

}  // namespace kesta
