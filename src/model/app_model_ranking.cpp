#include <utility>

#include "live/load_latency.h"
#include "model/app_model.h"
#include "model/pool_label.h"
#include "model/ranking_request.h"
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

// ---- Ranking -----------------------------------------------------------------

void AppModel::scheduleRanking() {
  if (rankTask_) rankTask_->cancel();
  rankTask_.reset();
  ++rankGeneration_;
  const std::optional<Track> current = currentTrack();
  if (!current) {
    publish(lanes_, std::vector<LaneResult>{}, Field::lanes);
    publish(ranking_, false, Field::ranking);
    return;
  }

  std::vector<Track> onDeck;
  for (const int deck : {1, 2}) {
    if (auto track = this->track(deck)) onDeck.push_back(std::move(*track));
  }
  // The ledger's set is the one `activeSet` mirrors; it is current even
  // before the mirror is published.
  PreparedPool::Source wanted{index_, poolID_};
  const std::optional<TrackPool> pool = preparedPool_.find(wanted);
  RecommendationRequest request =
      rankingRequest(*current, pool.value_or(TrackPool()), onDeck, ledger_.set(), userData_);
  publish(ranking_, true, Field::ranking);

  const Cancellation cancellation;
  rankTask_ = cancellation;
  const RankTicket ticket{rankGeneration_, focus_ ? focus_->seq : 0, focus_.has_value()};
  std::optional<PreparedPool::Source> source;
  if (!pool) source = std::move(wanted);
  // The job never touches the model: it reaches it only back on the main thread.
  background_->run([request = std::move(request), source = std::move(source), cancellation, ticket,
                    weak = weak_from_this(), clock = monotonicClock_, queue = mainQueue_]() mutable {
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
      const auto model = weak.lock();
      if (!model) return;
      if (prepared) model->preparedPool_.keep({model->index_, model->poolID_}, std::move(*source), *prepared);
      if (!cancelled) model->publishRanking(ticket, std::move(lanes), startedAt, finishedAt);
    });
  });
}

void AppModel::publishRanking(const RankTicket& ticket, std::vector<LaneResult> lanes, double startedAt,
                              double finishedAt) {
  const bool sameFocus = focus_ ? ticket.focusPresent && focus_->seq == ticket.seq : !ticket.focusPresent;
  if (ticket.generation != rankGeneration_ || !sameFocus) {
    diagnosticsSession_.log.staleResultDiscarded();
    diagnosticsDirty_ = true;
    return;
  }
  rankTask_.reset();
  publish(lanes_, std::move(lanes), Field::lanes);
  publish(ranking_, false, Field::ranking);

  const double publishedAt = monotonicClock_->now();
  diagnosticsSession_.log.recordRank((finishedAt - startedAt) * 1000);
  diagnosticsDirty_ = true;
  recordLatency(ticket, finishedAt, publishedAt);

  const Date now = wallClock_->now();
  for (const Lane lane : Lane::allCases()) {
    if (const auto shown = suggestion(lane)) ledger_.shown(*shown, now);
  }
  syncSet();
}

// The first fresh ranking for the focus a load produced closes that load's
// latency: evidence → confirmation → ranked → on screen.
void AppModel::recordLatency(const RankTicket& ticket, double finishedAt, double publishedAt) {
  if (!pendingLatency_ || !ticket.focusPresent || pendingLatency_->seq != ticket.seq) return;
  const PendingLatency& pending = *pendingLatency_;
  diagnosticsSession_.log.record(
      LoadLatency{ticket.seq, focus_ ? focus_->deck : 0, (pending.confirmedAt - pending.evidenceAt) * 1000,
                  (finishedAt - pending.confirmedAt) * 1000, (publishedAt - finishedAt) * 1000});
  diagnosticsDirty_ = true;
  pendingLatency_.reset();
}

// ---- Pool selection ------------------------------------------------------------

void AppModel::poolChanged(const std::string& previous) {
  if (poolID_ == previous) return;
  if (!library().isEmpty()) {
    preferences_.poolByLibrary[library().sourceFileName] = poolID_;
    savePreferences();
  }
  scheduleRanking();
}

std::set<std::string> AppModel::selectedPlaylistIDs() const {
  const std::vector<std::string> ids = Library::playlistIDs(poolID_);
  return {ids.begin(), ids.end()};
}

void AppModel::togglePlaylist(const std::string& id) {
  std::set<std::string> ids = selectedPlaylistIDs();
  if (!ids.erase(id)) ids.insert(id);
  setPoolID(Library::poolID(ids));
}

std::string AppModel::poolLabel() const { return model::poolLabel(library(), poolID_, poolChoices_); }

// ---- Lane read-outs ------------------------------------------------------------

std::optional<Suggestion> AppModel::suggestion(Lane lane) const {
  const LaneResult* result = resultFor(lanes_, lane);
  if (!result || result->options.empty()) return std::nullopt;
  const auto cursor = laneCursor_.find(lane);
  const std::size_t index = cursor == laneCursor_.end() ? 0 : static_cast<std::size_t>(cursor->second);
  return result->options[index % result->options.size()];
}

int AppModel::alternatives(Lane lane) const {
  const LaneResult* result = resultFor(lanes_, lane);
  return result ? static_cast<int>(result->options.size()) : 0;
}

std::optional<std::string> AppModel::emptyReason(Lane lane) const {
  const LaneResult* result = resultFor(lanes_, lane);
  return result ? result->emptyReason : std::nullopt;
}

std::optional<std::string> AppModel::emptyShort(Lane lane) const {
  const LaneResult* result = resultFor(lanes_, lane);
  if (!result) return std::nullopt;
  return result->emptyShort ? result->emptyShort : result->emptyReason;
}

int AppModel::rating(const Track& track) const {
  const auto found = userData_.ratings.find(track.key.raw);
  return found == userData_.ratings.end() ? 0 : found->second;
}

bool AppModel::canReplay() const { return ledger_.set().hasReplayableHistory(); }

// ---- Lane and set actions --------------------------------------------------------

void AppModel::nextOption(Lane lane) {
  const int count = alternatives(lane);
  if (count < 2) return;
  std::map<Lane, int> cursor = laneCursor_;
  cursor[lane] = (cursor[lane] + 1) % count;
  publish(laneCursor_, std::move(cursor), Field::laneCursor);
  if (const auto shown = suggestion(lane)) {
    ledger_.shown(*shown, wallClock_->now());
    syncSet();
  }
}

void AppModel::dismiss(const Suggestion& suggestion) {
  ledger_.dismissed(suggestion.track, suggestion.lane, wallClock_->now());
  syncSet();
  scheduleRanking();
  publish(lastDismissed_, suggestion.track, Field::lastDismissed);
  show("Hid " + suggestion.track.title + " for this set.", "Hidden for the rest of this set.",
       kDismissUndoSeconds);
  // Compared by generation, not by track: dismissing the same track again
  // after an undo starts a fresh 8 seconds.
  const std::uint64_t generation = ++dismissalGeneration_;
  scheduler_->after(kDismissUndoSeconds, [weak = weak_from_this(), generation] {
    const auto model = weak.lock();
    if (model && model->lastDismissed_ && model->dismissalGeneration_ == generation) {
      model->publish(model->lastDismissed_, std::nullopt, Field::lastDismissed);
    }
  });
}

void AppModel::undoDismiss() {
  if (!lastDismissed_) return;
  ledger_.undoDismissal(*lastDismissed_);
  publish(lastDismissed_, std::nullopt, Field::lastDismissed);
  ++noticeGeneration_;
  publish(notice_, std::nullopt, Field::notice);
  syncSet();
  scheduleRanking();
}

void AppModel::rate(const Track& track, int stars) {
  if (ScreenTrack::isScreenTrack(track)) return;
  UserData userData = userData_;
  userData.ratings[track.key.raw] = stars;
  publish(userData_, std::move(userData), Field::userData);
  store_->saveUserData(userData_);
  scheduleRanking();
}

void AppModel::replayTracks() {
  ledger_.replay(wallClock_->now());
  syncSet();
  scheduleRanking();
}

void AppModel::endSet() {
  const Date now = wallClock_->now();
  DJSet finished = ledger_.set();
  if (!finished.events.empty()) {
    finished.endedAt = now;
    std::vector<DJSet> archived = archivedSets_;
    archived.insert(archived.begin(), std::move(finished));
    publish(archivedSets_, std::move(archived), Field::archivedSets);
    store_->saveArchivedSets(archivedSets_);
  }
  ledger_ = SetLedger(DJSet::started(now));
  syncSet();
  scheduleRanking();
}

// ---- Tracks on the decks -------------------------------------------------------

std::optional<Track> AppModel::currentTrack() const {
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

std::optional<Track> AppModel::track(int deck) const {
  const auto id = decks_.at(static_cast<std::size_t>(deck - 1)).trackID();
  const Track* track = id ? index_.track(*id) : nullptr;
  return track ? std::optional<Track>(*track) : std::nullopt;
}

std::vector<Track> AppModel::candidates(int deck) const {
  std::vector<Track> tracks;
  if (const auto* ambiguous = decks_.at(static_cast<std::size_t>(deck - 1)).as<DeckContent::Ambiguous>()) {
    for (const std::string& id : ambiguous->ids) {
      if (const Track* track = index_.track(id)) tracks.push_back(*track);
    }
  }
  return tracks;
}

}  // namespace kesta::model
