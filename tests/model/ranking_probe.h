#pragma once

#include <cstdint>
#include <optional>
#include <utility>

#include "model/app_model.h"

namespace kesta::model {

// Sets what the ranking reads the way an install or an engine update would,
// so the ranking can be driven without an import or a running engine.
struct RankingProbe {
  static void install(AppModel& model, Library library) {
    model.library_ = std::make_shared<const Library>(std::move(library));
    model.index_ = LibraryIndex(model.library_);
    model.poolChoices_ = model.library_->poolChoices();
  }
  static void setDeck(AppModel& model, int deck, DeckContent content) {
    model.decks_.at(static_cast<std::size_t>(deck - 1)) = std::move(content);
  }
  // A new focus on `deck` with what it holds now, then its ranking.
  static void focus(AppModel& model, int deck, std::uint64_t seq,
                    std::optional<AppModel::PendingLatency> latency = std::nullopt) {
    model.focus_ = Focus{deck, model.decks_.at(static_cast<std::size_t>(deck - 1)), seq};
    model.ledger_.focusChanged();
    model.laneCursor_.clear();
    model.lanes_.clear();
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
  // Lanes as a ranking would publish them.
  static void setLanes(AppModel& model, std::vector<LaneResult> lanes) { model.lanes_ = std::move(lanes); }
  // The running set as recorded, before or without its published mirror.
  static const DJSet& set(const AppModel& model) { return model.ledger_.set(); }
};

}  // namespace kesta::model
