// One scan of the live engine: connect when needed, capture, read both decks
// and the mixer, let the tracker judge, keep the small memories, judge
// readability, and assemble the update.
#include <algorithm>
#include <cmath>
#include <span>

#include "live/live_engine.h"
#include "platform/text/numbers.h"
#include "platform/time/date.h"
#include "reading/track_matcher.h"

namespace kesta {
namespace {

constexpr double kReconnectAfter = 5.0;
constexpr std::size_t kScreenTracksPerDeck = 17;

std::string failureText(const std::exception& error, const char* fallback) {
  if (const auto* capture = dynamic_cast<const CaptureError*>(&error)) return capture->debugDescription();
  return fallback;
}

ReaderHealth failedHealth(const std::exception& error) {
  if (const auto* capture = dynamic_cast<const CaptureError*>(&error))
    return ReaderHealth::failed(capture->errorDescription(), capture->shortDescription());
  return ReaderHealth::failed(error.what(), std::nullopt);
}

std::string mixerText(const std::vector<std::optional<MixerReading>>& readings) {
  std::string text;
  for (std::size_t i = 0; i < readings.size(); ++i) {
    if (i > 0) text += "|";
    if (!readings[i]) {
      text += "-";
      continue;
    }
    text += numbers::formatFixed(readings[i]->fader, 2) + (readings[i]->eqNeutral ? "" : "eq");
  }
  return text;
}

std::vector<std::string> textsOf(const std::vector<RecognizedLine>& lines) {
  std::vector<std::string> texts;
  texts.reserve(lines.size());
  for (const auto& line : lines) texts.push_back(line.text);
  return texts;
}

std::string deckText(const DeckObservation& observation) {
  std::string text = observation.reading.kind();
  if (!observation.rule.empty()) text += "/" + observation.rule;
  return text;
}

int eventDeck(const TrackerEvent& event) {
  if (const auto* e = event.as<TrackerEvent::Initial>()) return e->deck;
  if (const auto* e = event.as<TrackerEvent::Load>()) return e->deck;
  if (const auto* e = event.as<TrackerEvent::Refined>()) return e->deck;
  if (const auto* e = event.as<TrackerEvent::Unload>()) return e->deck;
  return 0;
}

bool isReadable(const DeckObservation& observation) {
  return !observation.reading.is<DeckReading::Unreadable>() ||
         observation.rule == DeckTextExtractor::unchangedSkipRule ||
         observation.rule == DeckTextExtractor::fastVerifiedRule;
}

std::string kindOf(const DeckContent& content) {
  if (content.is<DeckContent::Track>()) return "track";
  if (const auto* ambiguous = content.as<DeckContent::Ambiguous>())
    return "ambiguous(" + std::to_string(ambiguous->ids.size()) + ")";
  if (content.is<DeckContent::Unmatched>()) return "unmatched";
  if (content.is<DeckContent::Empty>()) return "empty";
  return "unknown";
}

}  // namespace

EngineUpdate LiveEngine::scanOnce(double startedAt) {
  const std::lock_guard lock(mutex_);
  ScanRecord record(++seq_, Date::now());

  if (auto failure = ensureConnected(startedAt))
    return failedScan(std::move(record), failure->text, std::move(failure->health));

  Image image;
  try {
    image = source_->capture();
  } catch (const std::exception& error) {
    connected_ = false;
    return failedScan(std::move(record), failureText(error, "capture"), failedHealth(error));
  }
  record.captureMs = (timing_.now() - startedAt) * 1000;
  const double now = timing_.now();

  Extractions extractions{extractor_.extract(image, 1, index_, now),
                          extractor_.extract(image, 2, index_, now)};
  for (int deck = 1; deck <= 2; ++deck) noteMetadata(deck, extractions[deck - 1], now);
  readMixer(image, now, record);
  recordExtractions(extractions, record);

  const double trackerStart = timing_.now();
  Frame frame = frameOf(extractions, startedAt);
  std::vector<TrackerEvent> events = follow(frame, extractions, startedAt);
  record.trackerMs = (timing_.now() - trackerStart) * 1000;
  for (const auto& event : events) record.events.push_back(describe(event));

  for (int deck = 1; deck <= 2; ++deck) anchorDeck(deck, image, extractions[deck - 1], events);

  ReaderHealth health = judgeReadability(extractions, now, record);
  EngineUpdate update = outcome(std::move(record), std::move(events), std::move(health), timing_.now());
  update.frame = std::move(frame);
  return update;
}

std::optional<LiveEngine::ScanFailure> LiveEngine::ensureConnected(double startedAt) {
  if (connected_) return std::nullopt;
  if (nextConnectAttempt_ > startedAt && lastConnectError_) {
    return ScanFailure{
        lastConnectError_->debugDescription() + " (waiting to retry)",
        ReaderHealth::failed(lastConnectError_->errorDescription(), lastConnectError_->shortDescription())};
  }
  try {
    source_->connect();
    connected_ = true;
    lastConnectError_.reset();
    return std::nullopt;
  } catch (const std::exception& error) {
    const auto* capture = dynamic_cast<const CaptureError*>(&error);
    lastConnectError_ = capture ? *capture : CaptureError::captureFailed(error.what());
    nextConnectAttempt_ = timing_.now() + 1.0;
    return ScanFailure{failureText(error, "connect"), failedHealth(error)};
  }
}

void LiveEngine::readMixer(const Image& image, double now, ScanRecord& record) {
  lastMixer_ = mixerReader_.read(image, now);
  if (lastMixer_.size() < 2) lastMixer_.resize(2);
  const std::string mixer = mixerText(lastMixer_);
  if (std::any_of(lastMixer_.begin(), lastMixer_.end(), [](const auto& r) { return r.has_value(); }))
    record.mixer = mixer;
}

void LiveEngine::recordExtractions(const Extractions& extractions, ScanRecord& record) const {
  record.clocksRead.emplace();
  for (int deck = 1; deck <= 2; ++deck) {
    const DeckExtraction& extraction = extractions[deck - 1];
    record.ocrMs += extraction.ocrMs;
    record.matchMs += extraction.matchMs;
    (deck == 1 ? record.deck1 : record.deck2) = deckText(extraction.observation);
    if (!extraction.ocrRan) record.ocrSkipped.push_back(deck);
    if (extraction.observation.clockSeconds) record.clocksRead->push_back(deck);
  }
  if (includeRawText_) {
    record.rawText.emplace();
    for (int deck = 1; deck <= 2; ++deck)
      for (const auto& line : extractions[deck - 1].lines)
        record.rawText->push_back(std::to_string(deck) + ": " + line.text);
  }
}

Frame LiveEngine::frameOf(const Extractions& extractions, double startedAt) const {
  DeckObservation deck1 = extractions[0].observation;
  DeckObservation deck2 = extractions[1].observation;
  deck1.mixer = lastMixer_[0];
  deck2.mixer = lastMixer_[1];
  return Frame{seq_, startedAt, std::move(deck1), std::move(deck2)};
}

std::vector<TrackerEvent> LiveEngine::follow(const Frame& frame, const Extractions& extractions,
                                             double startedAt) {
  std::vector<TrackerEvent> events = tracker_.ingest(frame);
  for (const auto& event : events) {
    if (event.is<TrackerEvent::Initial>() || event.is<TrackerEvent::Load>() ||
        event.is<TrackerEvent::Unload>())
      motionTracker_.reset(eventDeck(event));
  }
  for (int deck = 1; deck <= 2; ++deck) {
    const auto clock = extractions[deck - 1].observation.clockSeconds;
    motionTracker_.observe(deck, clock, startedAt);
    if (clock) lastClock_[deck] = *clock;
  }
  return events;
}

ReaderHealth LiveEngine::judgeReadability(const Extractions& extractions, double now, ScanRecord& record) {
  if (isReadable(extractions[0].observation) || isReadable(extractions[1].observation) || !lastReadable_)
    lastReadable_ = now;
  const double unreadable = now - *lastReadable_;
  ReaderHealth health = unreadable >= config_.unreadableGrace
                            ? ReaderHealth::cannotSeeDecks(static_cast<int>(std::trunc(unreadable)))
                            : ReaderHealth::reading();

  const bool showsTrackList = extractions[0].observation.rule == TrackMatcher::Rule::trackList ||
                              extractions[1].observation.rule == TrackMatcher::Rule::trackList;
  if (unreadable >= kReconnectAfter && !showsTrackList && now - lastForcedReconnect_ >= kReconnectAfter) {
    lastForcedReconnect_ = now;
    connected_ = false;
    record.events.push_back("reconnect: decks unreadable");
  }
  return health;
}

EngineUpdate LiveEngine::failedScan(ScanRecord record, const std::string& failure,
                                    ReaderHealth health) const {
  record.failure = failure;
  return outcome(std::move(record), {}, std::move(health), timing_.now());
}

void LiveEngine::noteMetadata(int deck, const DeckExtraction& extraction, double) {
  const DeckReading& reading = extraction.observation.reading;
  if (const auto* track = reading.as<DeckReading::Track>()) {
    if (extraction.lines.empty()) return;
    const auto texts = textsOf(extraction.lines);
    const auto existing = shownMetadata_.find(deck);
    const bool sameTrack = existing != shownMetadata_.end() && existing->second.trackID == track->id;
    std::optional<double> bpm = TrackMatcher::metadataHints(texts).bpm;
    if (bpm && !(*bpm >= 50 && *bpm <= 220)) bpm.reset();
    std::optional<std::string> keyText = ScreenTrack::keyTextIn(texts);
    if (sameTrack) {
      if (!keyText) keyText = existing->second.keyText;
      if (!bpm) bpm = existing->second.bpm;
    }
    shownMetadata_[deck] = ShownMetadata{track->id, std::move(keyText), bpm};
  } else if (const auto* unmatched = reading.as<DeckReading::Unmatched>()) {
    auto screenTrack = ScreenTrack::from(textsOf(extraction.lines));
    if (!screenTrack) return;
    auto& stored = screenTracks_[deck];
    if (stored.size() >= kScreenTracksPerDeck) stored.clear();
    const auto previous = stored.find(unmatched->signature);
    if (!screenTrack->keyText && previous != stored.end()) screenTrack->keyText = previous->second.keyText;
    stored.insert_or_assign(unmatched->signature, std::move(*screenTrack));
  }
}

void LiveEngine::anchorDeck(int deck, const Image& image, const DeckExtraction& extraction,
                            const std::vector<TrackerEvent>& events) {
  const auto ofDeck = [deck](const TrackerEvent& event) { return eventDeck(event) == deck; };
  const bool unloaded = std::any_of(events.begin(), events.end(), [&](const TrackerEvent& event) {
    return event.is<TrackerEvent::Unload>() && ofDeck(event);
  });
  if (unloaded) {
    extractor_.forget(deck);
    return;
  }
  if (!extraction.ocrRan) return;

  const DeckContent& confirmed = tracker_.deck(deck).confirmed;
  const DeckReading& reading = extraction.observation.reading;
  bool allowed = false;
  if (const auto* track = reading.as<DeckReading::Track>()) {
    if (const auto* held = confirmed.as<DeckContent::Track>()) {
      const auto songKeyOf = [this](const std::string& id) -> std::optional<std::string> {
        const Track* found = trackByID(id);
        return found ? std::optional(found->songKey()) : std::nullopt;
      };
      allowed = held->id == track->id || songKeyOf(held->id) == songKeyOf(track->id);
    }
  } else if (reading.is<DeckReading::Empty>() || reading.is<DeckReading::NoTitle>()) {
    allowed = confirmed.is<DeckContent::Empty>();
  }
  if (!allowed) return;

  const bool changed = std::any_of(events.begin(), events.end(), [&](const TrackerEvent& event) {
    return ofDeck(event) && (event.is<TrackerEvent::Initial>() || event.is<TrackerEvent::Load>() ||
                             event.is<TrackerEvent::Refined>());
  });
  std::string expectedTitle;
  if (const auto* held = confirmed.as<DeckContent::Track>())
    if (const Track* track = trackByID(held->id)) expectedTitle = track->title;
  extractor_.anchor(deck, image, extraction, !changed, expectedTitle);
}

EngineUpdate LiveEngine::outcome(ScanRecord record, std::vector<TrackerEvent> events, ReaderHealth health,
                                 double confirmedAt) const {
  EngineUpdate update;
  update.scan = std::move(record);
  update.events = std::move(events);
  update.decks = {tracker_.deck(1).confirmed, tracker_.deck(2).confirmed};
  for (int deck = 1; deck <= 2; ++deck)
    if (tracker_.deck(deck).pending) update.pendingDecks.insert(deck);
  update.focus = tracker_.focus();
  update.phase = tracker_.phase();
  update.health = std::move(health);
  update.confirmedAt = confirmedAt;

  const double now = timing_.now();
  update.motion = {motionTracker_.motion(1, update.decks[0], now),
                   motionTracker_.motion(2, update.decks[1], now)};
  update.mixer = lastMixer_;
  for (int deck = 1; deck <= 2; ++deck) {
    const DeckContent& content = update.decks[deck - 1];
    const auto shown = shownMetadata_.find(deck);
    if (shown != shownMetadata_.end() && content == DeckContent::track(shown->second.trackID))
      update.shown.emplace(deck, shown->second);
    if (const auto* unmatched = content.as<DeckContent::Unmatched>()) {
      const auto stored = screenTracks_.find(deck);
      if (stored == screenTracks_.end()) continue;
      const auto entry = stored->second.find(unmatched->text);
      if (entry != stored->second.end()) update.screenTracks.emplace(deck, entry->second);
    }
  }
  return update;
}

std::string LiveEngine::describe(const TrackerEvent& event) {
  const auto d = [](int deck) { return " d" + std::to_string(deck); };
  if (const auto* e = event.as<TrackerEvent::Initial>())
    return "initial" + d(e->deck) + " " + kindOf(e->content);
  if (const auto* e = event.as<TrackerEvent::Load>())
    return "load" + d(e->deck) + " " + kindOf(e->previous) + "\u2192" + kindOf(e->content);
  if (const auto* e = event.as<TrackerEvent::Refined>())
    return "refined" + d(e->deck) + " " + kindOf(e->content);
  if (const auto* e = event.as<TrackerEvent::Unload>()) return "unload" + d(e->deck);
  if (const auto* e = event.as<TrackerEvent::FocusChange>()) {
    const Focus& focus = e->focus;
    return "focus d" + std::to_string(focus.deck) + " #" + std::to_string(focus.seq) + " " +
           std::string(rawValue(focus.kind)) + (focus.deckUnloaded ? " unloaded" : "");
  }
  if (const auto* e = event.as<TrackerEvent::PlayEvidence>()) return "played" + d(e->deck);
  if (const auto* e = event.as<TrackerEvent::StaleFrameRejected>())
    return "stale-frame " + std::to_string(e->seq);
  if (const auto* e = event.as<TrackerEvent::ChangeRejected>())
    return "rejected" + d(e->deck) + ": " + e->reason;
  return "startup-ambiguous";
}

}  // namespace kesta
