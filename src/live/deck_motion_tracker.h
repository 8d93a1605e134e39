#pragma once

#include <map>
#include <optional>

#include "live/deck_content.h"
#include "live/deck_motion.h"

namespace kesta {

// Whether each deck is playing, judged from its readout in whole seconds: the
// readout runs while the track plays and stands still while it does not.
class DeckMotionTracker {
 public:
  explicit DeckMotionTracker(double stoppedAfter = 2.0, double maxReadingAge = 2.5)
      : stoppedAfter_(stoppedAfter), maxReadingAge_(maxReadingAge) {}

  double stoppedAfter() const { return stoppedAfter_; }
  double maxReadingAge() const { return maxReadingAge_; }

  // One readout of a deck at Clock time `at`; an absent readout changes nothing.
  void observe(int deck, std::optional<int> clock, double at);
  // Forgets the deck's readout history (a new track starts afresh).
  void reset(int deck);
  // The deck's motion at `now`, given its confirmed content.
  DeckMotion motion(int deck, const DeckContent& content, double now) const;

 private:
  struct State {
    int value = 0;        // the readout
    double since = 0;     // when it first showed `value`
    double lastSeen = 0;  // the latest reading that showed `value`
  };

  double stoppedAfter_;
  double maxReadingAge_;
  std::map<int, State> states_;
};

}  // namespace kesta
