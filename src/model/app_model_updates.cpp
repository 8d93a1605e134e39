#include <cmath>
#include <string>
#include <utility>

#include "model/app_model.h"
#include "suggest/recommendation_request.h"

namespace kesta::model {

namespace {

constexpr double diagnosticsSaveInterval = 15;  // seconds between saves while updates arrive
constexpr double resumeLimit = 3600;            // a remembered focus older than this is not resumed
constexpr double resumeRewriteAfter = 60;       // an unchanged resume point is rewritten after this

// The mixer as the views show it: per deck "-" or the silent and main flags.
std::string summary(const std::vector<std::optional<MixerReading>>& mixer) {
  std::string text;
  for (const auto& reading : mixer) {
    if (!reading) {
      text += "-";
      continue;
    }
    text += reading->isSilent() ? "true" : "false";
    text += reading->isMain() ? "true" : "false";
  }
  return text;
}

bool sameCategories(const std::vector<DeckMotion>& a, const std::vector<DeckMotion>& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (a[i].category() != b[i].category()) return false;
  }
  return true;
}

// What the screen adds to each deck's library track: its key when the
// library has none, then its whole BPM when the library has none.
std::map<int, std::string> gaps(const std::map<int, ShownMetadata>& shown, const LibraryIndex& index) {
  std::map<int, std::string> result;
  for (const auto& [deck, metadata] : shown) {
    const Track* track = index.track(metadata.trackID);
    if (!track) continue;
    std::string text;
    if (!track->musicalKey && metadata.keyText) text += *metadata.keyText;
    if (!track->hasBPM() && metadata.bpm)
      text += std::to_string(static_cast<long long>(std::trunc(*metadata.bpm)));
    result.emplace(deck, std::move(text));
  }
  return result;
}

bool sameDeckNumbers(const std::map<int, ShownMetadata>& a, const std::map<int, ShownMetadata>& b) {
  if (a.size() != b.size()) return false;
  for (auto i = a.begin(), j = b.begin(); i != a.end(); ++i, ++j) {
    if (i->first != j->first) return false;
  }
  return true;
}

bool isNewFocus(const std::optional<Focus>& current, const std::optional<Focus>& next) {
  if (current.has_value() != next.has_value()) return true;
  return current && current->seq != next->seq;
}

}  // namespace

void AppModel::apply(const EngineUpdate& update) {
  if (!watching_) return;

  auto& log = diagnosticsSession_.log;
  log.record(update.scan);
  if (update.frame) log.record(*update.frame);
  log.record(update.events);
  if (update.scanGapMs) log.recordLoopGap(*update.scanGapMs);
  diagnosticsDirty_ = true;
  if (wallClock_->now().secondsSince(lastDiagnosticsSave_) >= diagnosticsSaveInterval) saveDiagnostics();

  const bool othersUnchanged = mirror(update);
  resumeIfRemembered(update);
  const std::optional<double> loadEvidenceAt = recordEvents(update);
  syncSet();
  followFocus(update, loadEvidenceAt, othersUnchanged);
}

bool AppModel::mirror(const EngineUpdate& update) {
  publishIfChanged(health_, update.health, Field::health);
  publishIfChanged(pendingDecks_, update.pendingDecks, Field::pendingDecks);
  if (!sameCategories(motion_, update.motion)) publish(motion_, update.motion, Field::motion);
  publishIfChanged(oneClickNeedsAccess_, oneClickLoad_ && !loader_->isAuthorized(),
                   Field::oneClickNeedsAccess);
  if (summary(mixer_) != summary(update.mixer)) publish(mixer_, update.mixer, Field::mixer);
  publishIfChanged(phase_, update.phase, Field::phase);
  const bool decksEqual = !publishIfChanged(decks_, update.decks, Field::decks);
  const bool shownEqual = gaps(shown_, index_) == gaps(update.shown, index_);
  if (!shownEqual || !sameDeckNumbers(shown_, update.shown)) publish(shown_, update.shown, Field::shown);
  const bool screenTracksEqual = !publishIfChanged(screenTracks_, update.screenTracks, Field::screenTracks);
  return decksEqual && shownEqual && screenTracksEqual;
}

void AppModel::resumeIfRemembered(const EngineUpdate& update) {
  if (update.phase == TrackerPhase::ambiguousStartup && !update.focus && followedAtStop_) {
    const ResumePoint point = *std::exchange(followedAtStop_, std::nullopt);
    const bool recent = wallClock_->now().secondsSince(point.at) < resumeLimit;
    if (point.decks == update.decks && recent && engine_) {
      resuming_ = true;
      follow(point.deck, FocusKind::resumed);
    }
  } else if (update.phase == TrackerPhase::following) {
    followedAtStop_.reset();
  }
  // The start-up has been decided: the status no longer says it reconnects.
  if (update.phase != TrackerPhase::ambiguousStartup) resuming_ = false;
}

std::optional<double> AppModel::recordEvents(const EngineUpdate& update) {
  std::optional<double> loadEvidenceAt;
  const Date now = wallClock_->now();
  const auto loaded = [&](int deck, const DeckContent& content) {
    const auto id = content.trackID();
    if (const Track* track = id ? index_.track(*id) : nullptr) ledger_.loaded(*track, deck, now);
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
      const Track* track = index_.track(played->trackID);
      if (!track) continue;
      if (const auto transition = ledger_.played(*track, played->deck, now)) {
        ++userData_.playedPairs[RecommendationRequest::pairKey(transition->from, transition->to)];
        changed(Field::userData);
        store_->saveUserData(userData_);
      }
    }
  }
  return loadEvidenceAt;
}

void AppModel::followFocus(const EngineUpdate& update, std::optional<double> loadEvidenceAt,
                           bool othersUnchanged) {
  const bool newFocus = isNewFocus(focus_, update.focus);
  if (newFocus || (focus_ && focus_->content != update.focus->content)) {
    focusMoved(update.focus);
    if (newFocus) {
      pendingLatency_.reset();
      if (loadEvidenceAt && update.focus) {
        pendingLatency_ = PendingLatency{update.focus->seq, *loadEvidenceAt, update.confirmedAt};
      }
    }
    scheduleRanking();
  } else {
    if (focus_ && focus_->deckUnloaded != update.focus->deckUnloaded)
      publish(focus_, update.focus, Field::focus);
    if (othersUnchanged) return;
    scheduleRanking();
  }
  if (update.phase == TrackerPhase::following) rememberFocus();
}

void AppModel::focusMoved(const std::optional<Focus>& focus) {
  publish(focus_, focus, Field::focus);
  ledger_.focusChanged();
  publish(laneCursor_, std::map<Lane, int>{}, Field::laneCursor);
  publish(lanes_, std::vector<LaneResult>{}, Field::lanes);
}

void AppModel::follow(int deck, FocusKind kind) {
  if (!engine_) return;
  engine_->chooseDeck(deck, kind,
                      [weak = weak_from_this(), asked = askedEngine()](std::optional<Focus> focus) {
                        const auto model = weak.lock();
                        if (!model || model->answersLate(asked)) return;
                        // Refused: the DJ is asked to choose instead.
                        if (!focus) model->resuming_ = false;
                        model->focusMoved(focus);
                        model->scheduleRanking();
                        model->rememberFocus();
                      });
}

void AppModel::identify(int deck, const Track& track) {
  if (!engine_ || deck < 1 || deck > static_cast<int>(decks_.size())) return;
  engine_->resolve(deck, track.id,
                   [weak = weak_from_this(), asked = askedEngine(), deck, track](std::optional<Focus> focus) {
                     const auto model = weak.lock();
                     if (!model || model->answersLate(asked)) return;
                     model->publish(model->focus_, std::move(focus), Field::focus);
                     std::vector<DeckContent> decks = model->decks_;
                     decks[static_cast<std::size_t>(deck - 1)] = DeckContent::track(track.id);
                     model->publish(model->decks_, std::move(decks), Field::decks);
                     model->ledger_.identified(track, deck, model->wallClock_->now());
                     model->syncSet();
                     model->scheduleRanking();
                   });
}

std::weak_ptr<EnginePort> AppModel::askedEngine() const { return engine_; }

bool AppModel::answersLate(const std::weak_ptr<EnginePort>& asked) const {
  // Without an engine (stopped since) the answer still counts; another engine
  // has its own state, which an answer of the old one would overwrite.
  return engine_ && engine_ != asked.lock();
}

void AppModel::rememberFocus() {
  if (!focus_) return;
  for (const auto& deck : decks_) {
    if (deck.is<DeckContent::Unknown>()) return;
  }
  const ResumePoint point{decks_, focus_->deck, wallClock_->now()};
  followedAtStop_ = point;
  const auto& stored = preferences_.resumePoint;
  if (stored && stored->decks == point.decks && stored->deck == point.deck &&
      point.at.secondsSince(stored->at) <= resumeRewriteAfter) {
    return;
  }
  preferences_.resumePoint = point;
  savePreferences();
}

void AppModel::saveDiagnostics() {
  if (diagnosticsSession_.log.isEmpty()) return;
  const Date now = wallClock_->now();
  diagnosticsSession_.updatedAt = now;
  store_->saveDiagnostics(diagnosticsSession_);
  diagnosticsDirty_ = false;
  lastDiagnosticsSave_ = now;
}

void AppModel::syncSet() {
  if (activeSet_ == ledger_.set()) return;
  publish(activeSet_, ledger_.set(), Field::activeSet);
  store_->saveActiveSet(activeSet_);
}

}  // namespace kesta::model
