#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "live/load_tracker.h"
#include "tracker_printing.h"

// Frame scripts: a load tracker driven frame by frame, each frame with the
// exact list of events it must give.
//
//   play(tracker, {
//       {0.00, strong("A"), empty(), {E::initial(1, T("A"))}},
//       {0.25, strong("A"), empty(), {focusOn(1, T("A"), 1, FocusKind::initial, 0.25)}},
//   });
//
// Frames are numbered 1, 2, 3, ... unless a step names its own `seq`.
namespace kesta::script {

using C = DeckContent;
using E = TrackerEvent;

// One deck's observation, built fluently.
struct Obs {
  DeckObservation observation;

  Obs changed(bool value = true) const {
    Obs copy = *this;
    copy.observation.titleAreaChanged = value;
    return copy;
  }
  Obs clock(int seconds) const {
    Obs copy = *this;
    copy.observation.clockSeconds = seconds;
    return copy;
  }
  Obs mixer(double fader, bool eqNeutral = true) const {
    Obs copy = *this;
    copy.observation.mixer = MixerReading{fader, eqNeutral};
    return copy;
  }
};

inline Obs reading(DeckReading reading, std::string rule = "") {
  return Obs{DeckObservation{std::move(reading), std::nullopt, std::nullopt, std::move(rule), std::nullopt}};
}
inline Obs strong(std::string id) {
  return reading(DeckReading::track(std::move(id), MatchStrength::strong), "exact");
}
inline Obs normal(std::string id) {
  return reading(DeckReading::track(std::move(id), MatchStrength::normal), "near");
}
inline Obs amb(std::vector<std::string> ids) {
  return reading(DeckReading::ambiguous(std::move(ids)), "weak-only");
}
inline Obs unmatched(std::string text) {
  return reading(DeckReading::unmatched(std::move(text)), "no-library-match");
}
inline Obs empty() { return reading(DeckReading::empty(), "empty-indicator"); }
inline Obs noTitle() { return reading(DeckReading::noTitle(), "controls-only"); }
inline Obs unreadable() { return reading(DeckReading::unreadable()); }
// What the extractor reports when it skipped recognition or only verified the title.
inline Obs skipped() { return reading(DeckReading::unreadable(), "unchanged-skip").changed(false); }
inline Obs verified(int clock) {
  return reading(DeckReading::unreadable(), "fast-verified").changed(false).clock(clock);
}

inline C T(std::string id) { return C::track(std::move(id)); }

inline E focusOn(int deck, C content, std::uint64_t seq, FocusKind kind, double at,
                 bool deckUnloaded = false) {
  return E::focus(Focus{deck, std::move(content), seq, kind, at, deckUnloaded});
}

struct Step {
  double time;
  Obs deck1;
  Obs deck2;
  std::vector<TrackerEvent> events;
  std::optional<std::uint64_t> seq = std::nullopt;
};

// Plays the steps in order; a step whose events differ fails with its number.
// Returns the frame number the next step would get.
inline std::uint64_t play(LoadTracker& tracker, const std::vector<Step>& steps, std::uint64_t firstSeq = 1) {
  std::uint64_t next = firstSeq;
  for (std::size_t i = 0; i < steps.size(); ++i) {
    const Step& step = steps[i];
    const std::uint64_t seq = step.seq.value_or(next);
    if (seq >= next) next = seq + 1;
    const Frame frame{seq, step.time, step.deck1.observation, step.deck2.observation};
    EXPECT_EQ(tracker.ingest(frame), step.events)
        << "step " << i + 1 << " (seq " << seq << ", time " << step.time << ")";
  }
  return next;
}

// The same steps repeated at a fixed interval, each with no events.
inline std::vector<Step> quiet(double from, double every, int count, Obs deck1, Obs deck2) {
  std::vector<Step> steps;
  for (int i = 0; i < count; ++i) steps.push_back({from + every * i, deck1, deck2, {}});
  return steps;
}

}  // namespace kesta::script
