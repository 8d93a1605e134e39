#include "suggest/set_ledger.h"

#include <algorithm>

namespace kesta {

using Kind = SetEvent::Kind;

void SetLedger::shown(const Suggestion& suggestion, Date at) {
  if (!shownThisFocus_.insert(std::string(suggestion.lane.id()) + suggestion.track.key.raw).second) return;
  set_.events.push_back(SetEvent::make(Kind::shown, at, &suggestion.track, suggestion.lane));
}

void SetLedger::dismissed(const Track& track, Lane lane, Date at) {
  set_.events.push_back(SetEvent::make(Kind::dismissed, at, &track, lane));
}

bool SetLedger::undoDismissal(const Track& track) {
  auto& events = set_.events;
  const auto found = std::find_if(events.rbegin(), events.rend(), [&](const SetEvent& event) {
    return event.kind == Kind::dismissed && event.trackKey == track.key;
  });
  if (found == events.rend()) return false;
  events.erase(std::next(found).base());
  return true;
}

bool SetLedger::loaded(const Track& track, int deck, Date at) {
  const auto& events = set_.events;
  const auto last = std::find_if(events.rbegin(), events.rend(), [&](const SetEvent& event) {
    return event.kind == Kind::loaded && event.deck == deck;
  });
  if (last != events.rend() && last->trackKey == track.key) return false;
  set_.events.push_back(SetEvent::make(Kind::loaded, at, &track, std::nullopt, deck));
  return true;
}

std::optional<DJSet::Transition> SetLedger::played(const Track& track, int deck, Date at) {
  // Without a load any earlier play counts; with one, only plays after it.
  const SetEvent* load = lastLoad(track);
  const bool playedSinceLoad =
      std::any_of(set_.events.begin(), set_.events.end(), [&](const SetEvent& event) {
        return event.kind == Kind::played && event.trackKey == track.key &&
               (load == nullptr || event.at > load->at);
      });
  if (playedSinceLoad) return std::nullopt;

  const std::size_t before = set_.playedTransitions().size();
  set_.events.push_back(SetEvent::make(Kind::played, at, &track, std::nullopt, deck));
  auto transitions = set_.playedTransitions();
  if (transitions.size() <= before) return std::nullopt;
  return std::move(transitions.back());
}

void SetLedger::identified(const Track& track, int deck, Date at) {
  set_.events.push_back(SetEvent::make(Kind::identified, at, &track, std::nullopt, deck));
}

void SetLedger::replay(Date at) { set_.events.push_back(SetEvent::make(Kind::replayEnabled, at, nullptr)); }

const SetEvent* SetLedger::lastLoad(const Track& track) const {
  const auto& events = set_.events;
  const auto last = std::find_if(events.rbegin(), events.rend(), [&](const SetEvent& event) {
    return event.kind == Kind::loaded && event.trackKey == track.key;
  });
  return last == events.rend() ? nullptr : &*last;
}

}  // namespace kesta
