#include "live/deck_motion_tracker.h"

namespace kesta {

void DeckMotionTracker::observe(int deck, std::optional<int> clock, double at) {
  if (!clock) return;
  const auto it = states_.find(deck);
  if (it != states_.end() && it->second.value == *clock) {
    it->second.lastSeen = at;
    return;
  }
  states_[deck] = State{*clock, at, at};
}

void DeckMotionTracker::reset(int deck) { states_.erase(deck); }

DeckMotion DeckMotionTracker::motion(int deck, const DeckContent& content, double now) const {
  if (content.is<DeckContent::Empty>()) return DeckMotion::empty();
  const auto it = states_.find(deck);
  if (it == states_.end()) return DeckMotion::unknown();
  const State& state = it->second;
  // Written so that a NaN age counts as too old.
  if (!(maxReadingAge_ >= now - state.lastSeen)) return DeckMotion::unknown();
  const double held = state.lastSeen - state.since;
  if (held >= stoppedAfter_) return DeckMotion::stopped(held);
  if (now - state.since < stoppedAfter_) return DeckMotion::running();
  return DeckMotion::unknown();
}

}  // namespace kesta
