#include "live/load_tracker.h"

#include <algorithm>
#include <cstdint>
#include <stdexcept>
#include <utility>

#include "library/text_tools.h"
#include "platform/text/unicode_text.h"
#include "platform/variant/overloaded.h"

namespace kesta {

namespace {

constexpr std::string_view kNoPixelChange = "no pixel change for unresolved text";

// Readouts must agree with real time within this many seconds to make play evidence.
constexpr double kPlayEvidenceSlack = 3.0;

// Mixer readings older than this do not count for the audible-deck rule.
constexpr double kMixerFreshness = 1.0;

// The content a reading proposes; absent for an unreadable deck. A deck that
// shows no title proposes empty (an inferred empty deck).
std::optional<DeckContent> candidate(const DeckReading& reading) {
  return std::visit(
      Overloaded{
          [](const DeckReading::Track& t) -> std::optional<DeckContent> { return DeckContent::track(t.id); },
          [](const DeckReading::Ambiguous& a) -> std::optional<DeckContent> {
            return DeckContent::ambiguous(a.ids);
          },
          [](const DeckReading::Unmatched& u) -> std::optional<DeckContent> {
            return DeckContent::unmatched(u.signature);
          },
          [](const DeckReading::Empty&) -> std::optional<DeckContent> { return DeckContent::empty(); },
          [](const DeckReading::NoTitle&) -> std::optional<DeckContent> { return DeckContent::empty(); },
          [](const DeckReading::Unreadable&) -> std::optional<DeckContent> { return std::nullopt; },
      },
      reading.value);
}

// The part of an unlisted text before its first "|": the first non-empty
// piece, or the whole text when there is none.
std::string_view head(std::string_view text) {
  std::size_t start = 0;
  while (start <= text.size()) {
    const std::size_t end = std::min(text.find('|', start), text.size());
    if (end > start) return text.substr(start, end - start);
    start = end + 1;
  }
  return text;
}

}  // namespace

LoadTracker::SharedSongKeys LoadTracker::noSongKeys() {
  static const SharedSongKeys none = std::make_shared<const SongKeys>();
  return none;
}

LoadTracker::LoadTracker(SharedSongKeys songKeys, Config config)
    : songKeys_(std::move(songKeys)), config_(config) {}

bool LoadTracker::sameUnlistedText(std::string_view a, std::string_view b) {
  // Canonically equivalent spellings count as equal texts.
  if (a == b || unicode::fold(a, {}) == unicode::fold(b, {})) return true;
  const std::string_view headA = head(a);
  const std::string_view headB = head(b);
  const std::size_t lengthA = unicode::graphemeCount(headA);
  const std::size_t lengthB = unicode::graphemeCount(headB);
  if (std::min(lengthA, lengthB) < 6) return false;
  const int limit = std::max(2, static_cast<int>(std::max(lengthA, lengthB) / 8));
  return TextTools::editDistance(headA, headB, limit).has_value();
}

const std::string* LoadTracker::songKey(const std::string& trackID) const {
  const auto it = songKeys_->find(trackID);
  return it == songKeys_->end() ? nullptr : &it->second;
}

bool LoadTracker::equivalent(const DeckContent& a, const DeckContent& b) const {
  const auto trackInList = [this](const std::string& id, const std::vector<std::string>& ids) {
    if (std::find(ids.begin(), ids.end(), id) != ids.end()) return true;
    const std::string* key = songKey(id);
    if (!key) return false;
    return std::any_of(ids.begin(), ids.end(), [&](const std::string& other) {
      const std::string* otherKey = songKey(other);
      return otherKey && *otherKey == *key;
    });
  };
  if (const auto* x = a.as<DeckContent::Track>()) {
    if (const auto* y = b.as<DeckContent::Track>()) {
      if (x->id == y->id) return true;
      const std::string* keyX = songKey(x->id);
      const std::string* keyY = songKey(y->id);
      return keyX && keyY && *keyX == *keyY;
    }
    if (const auto* list = b.as<DeckContent::Ambiguous>()) return trackInList(x->id, list->ids);
    return false;
  }
  if (const auto* p = a.as<DeckContent::Ambiguous>()) {
    if (const auto* y = b.as<DeckContent::Track>()) return trackInList(y->id, p->ids);
    if (const auto* q = b.as<DeckContent::Ambiguous>())
      return std::any_of(p->ids.begin(), p->ids.end(), [&](const std::string& id) {
        return std::find(q->ids.begin(), q->ids.end(), id) != q->ids.end();
      });
    return false;
  }
  if (const auto* s = a.as<DeckContent::Unmatched>()) {
    const auto* t = b.as<DeckContent::Unmatched>();
    return t && sameUnlistedText(s->text, t->text);
  }
  return a == b;  // unknown and unknown, empty and empty
}

int LoadTracker::threshold(const DeckReading& reading) const {
  return std::visit(Overloaded{
                        [this](const DeckReading::Track& t) {
                          return t.strength == MatchStrength::strong ? config_.framesForStrongTrack
                                                                     : config_.framesForTrack;
                        },
                        [this](const DeckReading::Ambiguous&) { return config_.framesForAmbiguous; },
                        [this](const DeckReading::Unmatched&) { return config_.framesForUnmatched; },
                        [this](const DeckReading::Empty&) { return config_.framesForEmpty; },
                        [this](const DeckReading::NoTitle&) { return config_.framesForInferredEmpty; },
                        [](const DeckReading::Unreadable&) { return 0; },
                    },
                    reading.value);
}

void LoadTracker::stepDeck(int number, const DeckObservation& o, double now,
                           std::vector<TrackerEvent>& events) {
  // Worked on a copy, stored whole at the end.
  DeckState& stored = decks_[static_cast<std::size_t>(number - 1)];
  DeckState s = stored;
  noteReadouts(number, o, now, s, events);
  weighReading(number, o, now, s, events);
  stored = std::move(s);
}

void LoadTracker::noteReadouts(int number, const DeckObservation& o, double now, DeckState& s,
                               std::vector<TrackerEvent>& events) const {
  if (o.mixer) {
    s.mixer = o.mixer;
    s.mixerAt = now;
  }

  if (o.clockSeconds && (!s.lastClock || s.lastClock->value != *o.clockSeconds))
    s.lastClock = ClockChange{*o.clockSeconds, now};

  if (const auto* track = s.confirmed.as<DeckContent::Track>(); track && o.clockSeconds && !s.playReported) {
    const int clock = *o.clockSeconds;
    if (!s.firstClock) {
      s.firstClock = ClockMark{clock, now};
    } else {
      const std::int64_t ran = std::int64_t{clock} - s.firstClock->value;
      const double elapsed = now - s.firstClock->at;
      if (ran >= config_.playEvidenceSeconds && static_cast<double>(ran) <= elapsed + kPlayEvidenceSlack) {
        events.push_back(TrackerEvent::playEvidence(number, track->id));
        s.playReported = true;
      } else if (ran < 0 || static_cast<double>(ran) > elapsed + kPlayEvidenceSlack) {
        s.firstClock = ClockMark{clock, now};
      }
    }
  }
}

void LoadTracker::weighReading(int number, const DeckObservation& o, double now, DeckState& s,
                               std::vector<TrackerEvent>& events) const {
  const std::optional<DeckContent> proposed = candidate(o.reading);
  if (!proposed) return;

  if (equivalent(*proposed, s.confirmed)) {
    if (const auto* track = o.reading.as<DeckReading::Track>();
        track && s.confirmed.is<DeckContent::Ambiguous>()) {
      s.confirmed = DeckContent::track(track->id);
      events.push_back(TrackerEvent::refined(number, s.confirmed));
    }
    s.pending.reset();
    s.pendingCount = 0;
    return;
  }

  const bool stripChanged = o.titleAreaChanged == true;
  const bool unresolved = proposed->is<DeckContent::Ambiguous>() || proposed->is<DeckContent::Unmatched>();
  if (s.confirmed.is<DeckContent::Track>() && unresolved && !stripChanged) {
    events.push_back(TrackerEvent::changeRejected(number, std::string(kNoPixelChange)));
    return;
  }

  int count = 1;
  double evidenceAt = now;
  if (s.pending && equivalent(*s.pending, *proposed) && now - s.pendingSince <= config_.pendingWindow) {
    count = s.pendingCount + 1;
    if (stripChanged) s.pendingStripChanged = true;
    // The latest track id of a run wins.
    if (o.reading.is<DeckReading::Track>()) s.pending = proposed;
    evidenceAt = s.pendingSince;
  } else {
    s.pending = proposed;
    s.pendingSince = now;
    s.pendingStripChanged = stripChanged;
  }

  if (count < threshold(o.reading)) {
    s.pendingCount = count;
    return;
  }
  confirmPending(number, o.reading, now, evidenceAt, s, events);
}

void LoadTracker::confirmPending(int number, const DeckReading& reading, double now, double evidenceAt,
                                 DeckState& s, std::vector<TrackerEvent>& events) const {
  DeckContent next = std::move(*s.pending);
  DeckContent old = std::move(s.confirmed);
  s.confirmed = next;
  s.confirmedAt = now;
  s.pending.reset();
  s.pendingCount = 0;
  s.firstClock.reset();
  s.playReported = false;
  const std::optional<DeckContent> restorable = std::exchange(s.restorable, std::nullopt);

  const bool wasUnresolved = old.is<DeckContent::Ambiguous>() || old.is<DeckContent::Unmatched>();
  if (old.is<DeckContent::Unknown>()) {
    if (!next.is<DeckContent::Empty>()) events.push_back(TrackerEvent::initial(number, std::move(next)));
  } else if (next.is<DeckContent::Empty>()) {
    if (reading.is<DeckReading::NoTitle>() && old.is<DeckContent::Track>()) s.restorable = old;
    events.push_back(TrackerEvent::unload(number, std::move(old)));
  } else if (wasUnresolved) {
    if (s.pendingStripChanged)
      events.push_back(TrackerEvent::load(number, std::move(next), std::move(old), evidenceAt));
    else
      events.push_back(TrackerEvent::refined(number, std::move(next)));
  } else if (old.is<DeckContent::Empty>() && restorable && equivalent(*restorable, next)) {
    events.push_back(TrackerEvent::refined(number, std::move(next)));
  } else {
    events.push_back(TrackerEvent::load(number, std::move(next), std::move(old), evidenceAt));
  }
}

void LoadTracker::setFocus(int deck, DeckContent content, FocusKind kind, double at,
                           std::vector<TrackerEvent>& events) {
  ++focusCounter_;
  focus_ = Focus{deck, std::move(content), focusCounter_, kind, at, false};
  phase_ = TrackerPhase::following;
  events.push_back(TrackerEvent::focus(*focus_));
}

void LoadTracker::followUp(std::vector<TrackerEvent>& events) {
  const std::size_t examined = events.size();
  for (std::size_t i = 0; i < examined && focus_; ++i) {
    if (const auto* refined = events[i].as<TrackerEvent::Refined>();
        refined && refined->deck == focus_->deck) {
      focus_->content = refined->content;
      focus_->deckUnloaded = false;
      events.push_back(TrackerEvent::focus(*focus_));
    } else if (const auto* unload = events[i].as<TrackerEvent::Unload>();
               unload && unload->deck == focus_->deck) {
      focus_->deckUnloaded = true;
      events.push_back(TrackerEvent::focus(*focus_));
    }
  }
}

void LoadTracker::decideStartup(double now, std::vector<TrackerEvent>& events) {
  if (phase_ != TrackerPhase::waiting || focus_) return;
  const bool undecided = std::any_of(decks_.begin(), decks_.end(), [](const DeckState& d) {
    return d.confirmed.is<DeckContent::Unknown>();
  });
  if (undecided && firstFrameTime_ && now - *firstFrameTime_ < config_.startupGrace) return;
  const bool loaded1 = decks_[0].confirmed.hasMedia();
  const bool loaded2 = decks_[1].confirmed.hasMedia();
  if (loaded1 && loaded2) {
    phase_ = TrackerPhase::ambiguousStartup;
    events.push_back(TrackerEvent::startupAmbiguous());
  } else if (loaded1 || loaded2) {
    const int deck = loaded1 ? 1 : 2;
    setFocus(deck, decks_[static_cast<std::size_t>(deck - 1)].confirmed, FocusKind::initial, now, events);
  }
}

bool LoadTracker::isPlaying(const DeckState& state, double now) const {
  return state.lastClock && now - state.lastClock->changedAt <= config_.playingWindow;
}

void LoadTracker::followAudible(double now, bool hadLoad, std::vector<TrackerEvent>& events) {
  if (hadLoad || !config_.followAudibleDeck || phase_ != TrackerPhase::following || !focus_ ||
      focus_->kind == FocusKind::userChoice) {
    audibleStreak_ = 0;
    return;
  }
  const int other = focus_->deck == 1 ? 2 : 1;
  const DeckState& f = decks_[static_cast<std::size_t>(focus_->deck - 1)];
  const DeckState& o = decks_[static_cast<std::size_t>(other - 1)];
  const auto fresh = [now](const DeckState& d) { return d.mixer && now - d.mixerAt <= kMixerFreshness; };
  const bool counts = o.confirmed.hasMedia() && isPlaying(o, now) && fresh(o) && o.mixer->isMain() &&
                      fresh(f) && !f.mixer->isMain() &&
                      (isPlaying(f, now) || focus_->kind == FocusKind::audible);
  if (!counts) {
    audibleStreak_ = 0;
    return;
  }
  if (++audibleStreak_ >= config_.framesForAudibleSwitch) {
    audibleStreak_ = 0;
    setFocus(other, o.confirmed, FocusKind::audible, now, events);
  }
}

void LoadTracker::resolveAmbiguity(double now, std::vector<TrackerEvent>& events) {
  if (phase_ != TrackerPhase::ambiguousStartup || focus_) return;
  const bool loaded1 = decks_[0].confirmed.hasMedia();
  const bool loaded2 = decks_[1].confirmed.hasMedia();
  if (loaded1 == loaded2) return;
  const int deck = loaded1 ? 1 : 2;
  setFocus(deck, decks_[static_cast<std::size_t>(deck - 1)].confirmed,
           ambiguityFromLoads_ ? FocusKind::load : FocusKind::initial, now, events);
  ambiguityFromLoads_ = false;
}

std::vector<TrackerEvent> LoadTracker::ingest(const Frame& frame) {
  if (lastSeq_ && frame.seq <= *lastSeq_) return {TrackerEvent::staleFrameRejected(frame.seq)};
  const double now = frame.time;
  lastSeq_ = frame.seq;
  if (!firstFrameTime_) firstFrameTime_ = now;

  std::vector<TrackerEvent> events;
  stepDeck(1, frame.deck1, now, events);
  stepDeck(2, frame.deck2, now, events);

  std::vector<const TrackerEvent::Load*> loads;
  for (const auto& event : events)
    if (const auto* load = event.as<TrackerEvent::Load>()) loads.push_back(load);
  if (loads.size() == 1) {
    const TrackerEvent::Load load = *loads.front();
    setFocus(load.deck, load.content, FocusKind::load, now, events);
  } else if (loads.size() == 2) {
    focus_.reset();
    phase_ = TrackerPhase::ambiguousStartup;
    ambiguityFromLoads_ = true;
    events.push_back(TrackerEvent::startupAmbiguous());
  }

  followUp(events);
  decideStartup(now, events);
  followAudible(now, !loads.empty(), events);
  resolveAmbiguity(now, events);
  return events;
}

std::vector<TrackerEvent> LoadTracker::chooseDeck(int deck, double at, FocusKind kind) {
  if (deck != 1 && deck != 2) return {};
  const DeckState& state = decks_[static_cast<std::size_t>(deck - 1)];
  if (!state.confirmed.hasMedia()) return {};
  std::vector<TrackerEvent> events;
  setFocus(deck, state.confirmed, kind, at, events);
  return events;
}

std::vector<TrackerEvent> LoadTracker::resolve(int deck, const std::string& trackID) {
  if (deck != 1 && deck != 2) return {};
  decks_[static_cast<std::size_t>(deck - 1)].confirmed = DeckContent::track(trackID);
  std::vector<TrackerEvent> events{TrackerEvent::refined(deck, DeckContent::track(trackID))};
  if (focus_ && focus_->deck == deck) {
    focus_->content = DeckContent::track(trackID);
    events.push_back(TrackerEvent::focus(*focus_));
  }
  return events;
}

}  // namespace kesta
