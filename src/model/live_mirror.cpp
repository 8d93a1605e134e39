#include "model/live_mirror.h"

#include <utility>

#include "model/unchanged_for_views.h"

namespace kesta::model {

namespace {

std::vector<DeckContent> unknownDecks() { return {DeckContent::unknown(), DeckContent::unknown()}; }

}  // namespace

bool LiveMirror::mirror(const EngineUpdate& update, bool oneClickNeedsAccess) {
  notifier_.publishIfChanged(health_, update.health, Field::health);
  notifier_.publishIfChanged(pendingDecks_, update.pendingDecks, Field::pendingDecks);
  if (!sameForViews(motion_, update.motion)) notifier_.publish(motion_, update.motion, Field::motion);
  notifier_.publishIfChanged(oneClickNeedsAccess_, oneClickNeedsAccess, Field::oneClickNeedsAccess);
  if (!sameForViews(mixer_, update.mixer)) notifier_.publish(mixer_, update.mixer, Field::mixer);
  notifier_.publishIfChanged(phase_, update.phase, Field::phase);
  const bool decksEqual = !notifier_.publishIfChanged(decks_, update.decks, Field::decks);
  const bool fillingEqual = sameFilling(shown_, update.shown, index_);
  if (!sameForViews(shown_, update.shown, index_)) notifier_.publish(shown_, update.shown, Field::shown);
  const bool screenTracksEqual =
      !notifier_.publishIfChanged(screenTracks_, update.screenTracks, Field::screenTracks);
  return decksEqual && fillingEqual && screenTracksEqual;
}

void LiveMirror::connecting() {
  notifier_.publish(health_, ReaderHealth::connecting(), Field::health);
  notifier_.publish(decks_, unknownDecks(), Field::decks);
  notifier_.publish(focus_, std::nullopt, Field::focus);
  notifier_.publish(phase_, TrackerPhase::waiting, Field::phase);
}

void LiveMirror::idle() {
  notifier_.publish(health_, ReaderHealth::idle(), Field::health);
  notifier_.publish(pendingDecks_, std::set<int>{}, Field::pendingDecks);
}

void LiveMirror::forgetDecks() {
  notifier_.publish(focus_, std::nullopt, Field::focus);
  notifier_.publish(decks_, unknownDecks(), Field::decks);
}

void LiveMirror::setFocus(std::optional<Focus> focus) {
  notifier_.publish(focus_, std::move(focus), Field::focus);
}

void LiveMirror::identified(int deck, const std::string& trackID, std::optional<Focus> focus) {
  setFocus(std::move(focus));
  std::vector<DeckContent> decks = decks_;
  decks[static_cast<std::size_t>(deck - 1)] = DeckContent::track(trackID);
  notifier_.publish(decks_, std::move(decks), Field::decks);
}

std::optional<Track> LiveMirror::currentTrack() const {
  if (!focus_) return std::nullopt;
  if (const auto id = focus_->content.trackID()) {
    const Track* track = index_.track(*id);
    if (!track) return std::nullopt;
    const auto shown = shown_.find(focus_->deck);
    return shown == shown_.end() ? *track : filling(*track, shown->second);
  }
  if (const auto* unmatched = focus_->content.as<DeckContent::Unmatched>()) {
    const auto screen = screenTracks_.find(focus_->deck);
    if (screen != screenTracks_.end()) return screen->second.asTrack(unmatched->text);
  }
  return std::nullopt;
}

std::optional<Track> LiveMirror::track(int deck) const {
  const auto id = decks_.at(static_cast<std::size_t>(deck - 1)).trackID();
  const Track* track = id ? index_.track(*id) : nullptr;
  return track ? std::optional<Track>(*track) : std::nullopt;
}

std::vector<Track> LiveMirror::candidates(int deck) const {
  std::vector<Track> tracks;
  if (const auto* ambiguous = decks_.at(static_cast<std::size_t>(deck - 1)).as<DeckContent::Ambiguous>()) {
    for (const std::string& id : ambiguous->ids) {
      if (const Track* track = index_.track(id)) tracks.push_back(*track);
    }
  }
  return tracks;
}

DeckContent LiveMirror::deckContent(int deck) const {
  const auto index = static_cast<std::size_t>(deck - 1);
  return index < decks_.size() ? decks_[index] : DeckContent::unknown();
}

std::optional<int> LiveMirror::otherLoadedDeck() const {
  if (!focus_) return std::nullopt;
  const int other = focus_->deck == 1 ? 2 : 1;
  const auto index = static_cast<std::size_t>(other - 1);
  if (index < decks_.size() && decks_[index].hasMedia()) return other;
  return std::nullopt;
}

bool LiveMirror::readerProblem() const {
  return health_.as<ReaderHealth::CannotSeeDecks>() != nullptr ||
         health_.as<ReaderHealth::Failed>() != nullptr;
}

}  // namespace kesta::model
