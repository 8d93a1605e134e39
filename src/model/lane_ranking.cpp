#include "model/lane_ranking.h"

#include <utility>

#include "live/load_latency.h"
#include "model/diagnostics_record.h"
#include "model/library_keeper.h"
#include "model/live_mirror.h"
#include "model/model_settings.h"
#include "model/notices.h"
#include "model/pool_label.h"
#include "model/ranking_request.h"
#include "model/set_record.h"
#include "platform/text/unicode_text.h"
#include "suggest/recommender.h"

namespace kesta::model {

namespace {

constexpr double kDismissUndoSeconds = 8;

const LaneResult* resultFor(const std::vector<LaneResult>& lanes, Lane lane) {
  for (const LaneResult& result : lanes) {
    if (result.lane == lane) return &result;
  }
  return nullptr;
}

}  // namespace

LaneRanking::LaneRanking(const ModelPorts& ports, ModelParts parts)
    : parts_(parts),
      mainQueue_(ports.mainQueue),
      scheduler_(ports.scheduler),
      background_(ports.background),
      monotonicClock_(ports.monotonicClock),
      wallClock_(ports.wallClock) {}

// ---- Ranking -----------------------------------------------------------------

void LaneRanking::schedule() {
  if (rankTask_) rankTask_->cancel();
  rankTask_.reset();
  ++rankGeneration_;
  const LiveMirror& live = parts_.live;
  const std::optional<Track> current = live.currentTrack();
  if (!current) {
    clear();
    parts_.notifier.publish(ranking_, false, Field::ranking);
    return;
  }
  std::vector<Track> onDeck;
  for (const int deck : {1, 2}) {
    if (auto track = live.track(deck)) onDeck.push_back(std::move(*track));
  }
  // The ledger's set is the one `activeSet` mirrors; it is current even
  // before the mirror is published.
  PreparedPool::Source wanted{parts_.library.index(), poolID_};
  const std::optional<TrackPool> pool = preparedPool_.find(wanted);
  RecommendationRequest request = rankingRequest(*current, pool.value_or(TrackPool()), onDeck,
                                                 parts_.sets.ledger().set(), parts_.sets.userData());
  parts_.notifier.publish(ranking_, true, Field::ranking);

  const Cancellation cancellation;
  rankTask_ = cancellation;
  const auto& focus = live.focus();
  const RankTicket ticket{rankGeneration_, focus ? focus->seq : 0, focus.has_value()};
  std::optional<PreparedPool::Source> source;
  if (!pool) source = std::move(wanted);
  // The job never touches the model: it reaches it only back on the main thread.
  background_->run([request = std::move(request), source = std::move(source), cancellation, ticket,
                    weak = self_, clock = monotonicClock_, queue = mainQueue_]() mutable {
    std::optional<TrackPool> prepared;
    if (source) {
      prepared = PreparedPool::prepare(*source);
      request.pool = *prepared;
    }
    const double startedAt = clock->now();
    std::vector<LaneResult> lanes = Recommender::recommend(request);
    const double finishedAt = clock->now();
    const bool cancelled = cancellation.cancelled();
    if (cancelled && !prepared) return;
    // A prepared pool is kept even when its ranking was cancelled: the next one needs it too.
    queue->post([weak, ticket, source, prepared, cancelled, lanes = std::move(lanes), startedAt,
                 finishedAt]() mutable {
      const auto self = weak.lock();
      if (!self) return;
      if (prepared) {
        self->preparedPool_.keep({self->parts_.library.index(), self->poolID_}, std::move(*source),
                                 *prepared);
      }
      if (!cancelled) self->publish(ticket, std::move(lanes), startedAt, finishedAt);
    });
  });
}

void LaneRanking::publish(const RankTicket& ticket, std::vector<LaneResult> lanes, double startedAt,
                          double finishedAt) {
  const auto& focus = parts_.live.focus();
  const bool sameFocus = focus ? ticket.focusPresent && focus->seq == ticket.seq : !ticket.focusPresent;
  if (ticket.generation != rankGeneration_ || !sameFocus) {
    parts_.diagnostics.log().staleResultDiscarded();
    // The focus moved on (or went) and no newer ranking was asked for: none runs now.
    if (ticket.generation == rankGeneration_) {
      rankTask_.reset();
      parts_.notifier.publish(ranking_, false, Field::ranking);
    }
    return;
  }
  const Notifier::Batch batch(parts_.notifier);
  rankTask_.reset();
  parts_.notifier.publish(lanes_, std::move(lanes), Field::lanes);
  parts_.notifier.publish(ranking_, false, Field::ranking);

  const double publishedAt = monotonicClock_->now();
  parts_.diagnostics.log().recordRank((finishedAt - startedAt) * 1000);
  recordLatency(ticket, finishedAt, publishedAt);

  const Date now = wallClock_->now();
  for (const Lane lane : Lane::allCases()) {
    if (const auto shown = suggestion(lane)) parts_.sets.ledger().shown(*shown, now);
  }
  parts_.sets.sync();
}

// The first fresh ranking for the focus a load produced closes that load's
// latency: evidence → confirmation → ranked → on screen.
void LaneRanking::recordLatency(const RankTicket& ticket, double finishedAt, double publishedAt) {
  if (!pendingLatency_ || !ticket.focusPresent || pendingLatency_->seq != ticket.seq) return;
  const PendingLatency& pending = *pendingLatency_;
  const auto& focus = parts_.live.focus();
  parts_.diagnostics.log().record(
      LoadLatency{ticket.seq, focus ? focus->deck : 0, (pending.confirmedAt - pending.evidenceAt) * 1000,
                  (finishedAt - pending.confirmedAt) * 1000, (publishedAt - finishedAt) * 1000});
  pendingLatency_.reset();
}

void LaneRanking::clear() { parts_.notifier.publish(lanes_, std::vector<LaneResult>{}, Field::lanes); }

void LaneRanking::focusMoved() {
  parts_.notifier.publish(laneCursor_, std::map<Lane, int>{}, Field::laneCursor);
  clear();
}

// ---- Pool selection ------------------------------------------------------------

void LaneRanking::setPoolID(std::string poolID) {
  const Notifier::Batch batch(parts_.notifier);
  const std::string previous = std::exchange(poolID_, std::move(poolID));
  parts_.notifier.changed(Field::poolID);
  if (poolID_ == previous) return;
  const Library& library = parts_.library.library();
  if (!library.isEmpty()) {
    parts_.settings.preferences().poolByLibrary[library.sourceFileName] = poolID_;
    parts_.settings.save();
  }
  schedule();
}

std::set<std::string> LaneRanking::selectedPlaylistIDs() const {
  const std::vector<std::string> ids = Library::playlistIDs(poolID_);
  return {ids.begin(), ids.end()};
}

void LaneRanking::togglePlaylist(const std::string& id) {
  std::set<std::string> ids = selectedPlaylistIDs();
  if (!ids.erase(id)) ids.insert(id);
  setPoolID(Library::poolID(ids));
}

std::string LaneRanking::poolLabel() const {
  return model::poolLabel(parts_.library.library(), poolID_, parts_.library.poolChoices());
}

// ---- Lane read-outs ------------------------------------------------------------

std::optional<Suggestion> LaneRanking::suggestion(Lane lane) const {
  const LaneResult* result = resultFor(lanes_, lane);
  if (!result || result->options.empty()) return std::nullopt;
  const auto cursor = laneCursor_.find(lane);
  const std::size_t index = cursor == laneCursor_.end() ? 0 : static_cast<std::size_t>(cursor->second);
  return result->options[index % result->options.size()];
}

int LaneRanking::alternatives(Lane lane) const {
  const LaneResult* result = resultFor(lanes_, lane);
  return result ? static_cast<int>(result->options.size()) : 0;
}

std::optional<std::string> LaneRanking::emptyReason(Lane lane) const {
  const LaneResult* result = resultFor(lanes_, lane);
  return result ? result->emptyReason : std::nullopt;
}

std::optional<std::string> LaneRanking::emptyShort(Lane lane) const {
  const LaneResult* result = resultFor(lanes_, lane);
  if (!result) return std::nullopt;
  return result->emptyShort ? result->emptyShort : result->emptyReason;
}

// ---- Lane actions ----------------------------------------------------------------

void LaneRanking::nextOption(Lane lane) {
  const int count = alternatives(lane);
  if (count < 2) return;
  const Notifier::Batch batch(parts_.notifier);
  std::map<Lane, int> cursor = laneCursor_;
  cursor[lane] = (cursor[lane] + 1) % count;
  parts_.notifier.publish(laneCursor_, std::move(cursor), Field::laneCursor);
  if (const auto shown = suggestion(lane)) {
    parts_.sets.ledger().shown(*shown, wallClock_->now());
    parts_.sets.sync();
  }
}

void LaneRanking::dismiss(const Suggestion& suggestion) {
  const Notifier::Batch batch(parts_.notifier);
  parts_.sets.ledger().dismissed(suggestion.track, suggestion.lane, wallClock_->now());
  parts_.sets.sync();
  schedule();
  parts_.notifier.publish(lastDismissed_, suggestion.track, Field::lastDismissed);
  parts_.notices.show("Hid " + unicode::isolated(suggestion.track.title) + " for this set.",
                      "Hidden for the rest of this set.", kDismissUndoSeconds);
  // Compared by generation, not by track: dismissing the same track again
  // after an undo starts a fresh 8 seconds.
  const std::uint64_t generation = ++dismissalGeneration_;
  scheduler_->after(kDismissUndoSeconds, [weak = self_, generation] {
    const auto self = weak.lock();
    if (self && self->lastDismissed_ && self->dismissalGeneration_ == generation) {
      self->parts_.notifier.publish(self->lastDismissed_, std::nullopt, Field::lastDismissed);
    }
  });
}

void LaneRanking::undoDismiss() {
  if (!lastDismissed_) return;
  const Notifier::Batch batch(parts_.notifier);
  parts_.sets.ledger().undoDismissal(*lastDismissed_);
  parts_.notifier.publish(lastDismissed_, std::nullopt, Field::lastDismissed);
  parts_.notices.clear();
  parts_.sets.sync();
  schedule();
}

}  // namespace kesta::model
