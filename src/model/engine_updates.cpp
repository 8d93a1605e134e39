#include "model/engine_updates.h"

#include "model/diagnostics_record.h"
#include "model/lane_ranking.h"
#include "model/library_keeper.h"
#include "model/live_mirror.h"
#include "model/one_click_load.h"
#include "model/set_record.h"
#include "model/watching.h"

namespace kesta::model {

namespace {

bool isNewFocus(const std::optional<Focus>& current, const std::optional<Focus>& next) {
  if (current.has_value() != next.has_value()) return true;
  return current && current->seq != next->seq;
}

}  // namespace

EngineUpdates::EngineUpdates(const ModelPorts& ports, ModelParts parts)
    : parts_(parts), wallClock_(ports.wallClock), loader_(ports.loader) {}

void EngineUpdates::apply(const EngineUpdate& update) {
  if (!parts_.watching.watching()) return;
  const Notifier::Batch batch(parts_.notifier);
  parts_.diagnostics.record(update);
  const bool needsAccess = parts_.oneClick.oneClickLoad() && !loader_->isAuthorized();
  const bool othersUnchanged = parts_.live.mirror(update, needsAccess);
  parts_.watching.resumeIfRemembered(update);
  const std::optional<double> loadEvidenceAt = recordEvents(update);
  parts_.sets.sync();
  followFocus(update, loadEvidenceAt, othersUnchanged);
}

std::optional<double> EngineUpdates::recordEvents(const EngineUpdate& update) {
  std::optional<double> loadEvidenceAt;
  const Date now = wallClock_->now();
  const LibraryIndex& index = parts_.library.index();
  SetLedger& ledger = parts_.sets.ledger();
  const auto loaded = [&](int deck, const DeckContent& content) {
    const auto id = content.trackID();
    if (const Track* track = id ? index.track(*id) : nullptr) ledger.loaded(*track, deck, now);
  };
  for (const auto& event : update.events) {
    if (const auto* initial = event.as<TrackerEvent::Initial>()) {
      loaded(initial->deck, initial->content);
    } else if (const auto* refined = event.as<TrackerEvent::Refined>()) {
      loaded(refined->deck, refined->content);
    } else if (const auto* load = event.as<TrackerEvent::Load>()) {
      loaded(load->deck, load->content);
      loadEvidenceAt = load->evidenceAt;
    } else if (const auto* played = event.as<TrackerEvent::PlayEvidence>()) {
      const Track* track = index.track(played->trackID);
      if (!track) continue;
      if (const auto transition = ledger.played(*track, played->deck, now))
        parts_.sets.countPair(*transition);
    }
  }
  return loadEvidenceAt;
}

void EngineUpdates::followFocus(const EngineUpdate& update, std::optional<double> loadEvidenceAt,
                                bool othersUnchanged) {
  const std::optional<Focus>& focus = parts_.live.focus();
  const bool newFocus = isNewFocus(focus, update.focus);
  if (newFocus || (focus && focus->content != update.focus->content)) {
    focusMoved(update.focus);
    if (newFocus) {
      std::optional<PendingLatency> latency;
      if (loadEvidenceAt && update.focus) {
        latency = PendingLatency{update.focus->seq, *loadEvidenceAt, update.confirmedAt};
      }
      parts_.lanes.expectLatency(latency);
    }
    parts_.lanes.schedule();
  } else {
    if (focus && focus->deckUnloaded != update.focus->deckUnloaded) parts_.live.setFocus(update.focus);
    if (othersUnchanged) return;
    parts_.lanes.schedule();
  }
  if (update.phase == TrackerPhase::following) parts_.watching.rememberFocus();
}

void EngineUpdates::focusMoved(const std::optional<Focus>& focus) {
  parts_.live.setFocus(focus);
  parts_.sets.ledger().focusChanged();
  parts_.lanes.focusMoved();
}

}  // namespace kesta::model
