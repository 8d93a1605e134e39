#pragma once

#include <cstdint>
#include <optional>
#include <utility>

#include "model/app_model.h"
#include "model_probe.h"

namespace kesta::model {

// Sets the library, the decks and the focus the way an install and engine
// updates would, so the ranking can be driven without an import or an engine.
struct RankingProbe {
  // The library as an install leaves it, with its pool menu.
  static void install(AppModel& model, Library library) {
    ModelProbe::install(model, std::move(library));
    model.poolChoices_ = model.library().poolChoices();
  }
  static void setDeck(AppModel& model, int deck, DeckContent content) {
    model.decks_.at(static_cast<std::size_t>(deck - 1)) = std::move(content);
  }
  // A new focus on `deck` with what it holds now, then its ranking.
  static void focus(AppModel& model, int deck, std::uint64_t seq,
                    std::optional<AppModel::PendingLatency> latency = std::nullopt) {
    model.focusMoved(Focus{deck, model.decks_.at(static_cast<std::size_t>(deck - 1)), seq});
    model.pendingLatency_ = latency;
    model.scheduleRanking();
  }
  // The focus moves on without a ranking of its own.
  static void moveFocus(AppModel& model, std::uint64_t seq) { model.focus_->seq = seq; }
  static void scheduleRanking(AppModel& model) { model.scheduleRanking(); }
  static void setShown(AppModel& model, int deck, ShownMetadata shown) {
    model.shown_[deck] = std::move(shown);
  }
  static void setScreenTrack(AppModel& model, int deck, ScreenTrack track) {
    model.screenTracks_[deck] = std::move(track);
  }
};

}  // namespace kesta::model
