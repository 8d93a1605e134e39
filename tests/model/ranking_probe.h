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
    LibraryKeeper& keeper = model.library_;
    keeper.library_ = std::make_shared<const Library>(std::move(library));
    keeper.index_ = LibraryIndex(keeper.library_);
    keeper.poolChoices_ = keeper.library_->poolChoices();
  }
  static void setDeck(AppModel& model, int deck, DeckContent content) {
    model.live_.decks_.at(static_cast<std::size_t>(deck - 1)) = std::move(content);
  }
  // A new focus on `deck` with what it holds now, then its ranking.
  static void focus(AppModel& model, int deck, std::uint64_t seq,
                    std::optional<AppModel::PendingLatency> latency = std::nullopt) {
    model.live_.focus_ = Focus{deck, model.live_.decks_.at(static_cast<std::size_t>(deck - 1)), seq};
    model.sets_.ledger().focusChanged();
    model.lanes_.laneCursor_.clear();
    model.lanes_.lanes_.clear();
    model.lanes_.pendingLatency_ = latency;
    model.lanes_.schedule();
  }
  // The focus moves on without a ranking of its own.
  static void moveFocus(AppModel& model, std::uint64_t seq) { model.live_.focus_->seq = seq; }
  static void scheduleRanking(AppModel& model) { model.lanes_.schedule(); }
  static void setShown(AppModel& model, int deck, ShownMetadata shown) {
    model.live_.shown_[deck] = std::move(shown);
  }
  static void setScreenTrack(AppModel& model, int deck, ScreenTrack track) {
    model.live_.screenTracks_[deck] = std::move(track);
  }
  // Lanes as a ranking would publish them.
  static void setLanes(AppModel& model, std::vector<LaneResult> lanes) {
    model.lanes_.lanes_ = std::move(lanes);
  }
  // The running set as recorded, before or without its published mirror.
  static const DJSet& set(const AppModel& model) { return model.sets_.ledger().set(); }
};

}  // namespace kesta::model
