#pragma once

#include <optional>
#include <string>
#include <unordered_set>

#include "library/track.h"
#include "platform/time/date.h"
#include "suggest/dj_set.h"
#include "suggest/lane.h"
#include "suggest/suggestion.h"

namespace kesta {

// The recorder of the running set: each call decides whether what happened is
// new and, if so, appends one event. It is a value, owned and changed in place
// on one thread; dates are calendar dates from the caller.
class SetLedger {
 public:
  explicit SetLedger(DJSet set) : set_(std::move(set)) {}

  // The running set, to publish and store.
  const DJSet& set() const { return set_; }

  // Suggestions shown from now on are recorded again.
  void focusChanged() { shownThisFocus_.clear(); }
  // Recorded once per lane and track between two changes of focus.
  void shown(const Suggestion& suggestion, Date at);
  void dismissed(const Track& track, Lane lane, Date at);
  // Removes the track's most recent dismissal; false when it had none.
  bool undoDismissal(const Track& track);
  // False, recording nothing, when the deck's last load was this track already.
  bool loaded(const Track& track, int deck, Date at);
  // Recorded once per load of the track; answers the transition from the
  // previously played track, when there was one.
  std::optional<DJSet::Transition> played(const Track& track, int deck, Date at);
  void identified(const Track& track, int deck, Date at);
  // Lets the tracks used or dismissed so far be suggested again.
  void replay(Date at);

 private:
  const SetEvent* lastLoad(const Track& track) const;

  DJSet set_;
  std::unordered_set<std::string> shownThisFocus_;  // lane id + track key
};

}  // namespace kesta
