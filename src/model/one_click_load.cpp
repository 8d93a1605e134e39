#include "model/one_click_load.h"

#include <exception>
#include <memory>
#include <string>
#include <utility>

#include "model/diagnostics_record.h"
#include "model/library_keeper.h"
#include "model/live_mirror.h"
#include "model/load_landing.h"
#include "model/model_settings.h"
#include "model/notices.h"
#include "model/one_click_texts.h"
#include "model/reread_answer.h"
#include "model/safety_recheck.h"
#include "model/watching.h"
#include "oneclick/load_safety.h"
#include "oneclick/stroke_text.h"
#include "platform/text/unicode_text.h"

namespace kesta::model {

namespace {

constexpr double confirmationSeconds = 4;
constexpr double pollSeconds = 0.25;
constexpr int polls = 24;  // the last one 6 s after the loader returned
constexpr double doneClearSeconds = 12;
constexpr double failureClearSeconds = 10;
constexpr const char* accessibilitySettings =
    "x-apple.systempreferences:com.apple.preference.security?Privacy_Accessibility";

}  // namespace

OneClickLoad::OneClickLoad(const ModelPorts& ports, ModelParts parts)
    : parts_(parts),
      loader_(ports.loader),
      keyPresetCheck_(ports.keyPreset),
      clickThrough_(ports.clickThrough),
      scheduler_(ports.scheduler),
      mainQueue_(ports.mainQueue),
      wallClock_(ports.wallClock),
      urls_(ports.urls),
      oneClickLoad_(parts.settings.preferences().oneClickLoad.value_or(false)) {}

void OneClickLoad::setOneClickLoad(bool on) {
  const Notifier::Batch batch(parts_.notifier);
  const bool wasOn = oneClickLoad_;
  parts_.notifier.publish(oneClickLoad_, on, Field::oneClickLoad);
  parts_.settings.preferences().oneClickLoad = on;
  parts_.settings.save();
  if (wasOn || !on) return;
  loader_->requestAuthorization();
  const PresetNotice notice = presetNotice(keyPresetCheck_->check());
  parts_.notices.show(notice.text, notice.shortText, notice.seconds);
}

void OneClickLoad::setLoadStatus(LoadStatus status) {
  const Notifier::Batch batch(parts_.notifier);
  loadStatusShort_.reset();
  parts_.notifier.publish(loadStatus_, std::move(status), Field::loadStatus);
  if (loadStatus_.is<LoadStatus::Done>() || loadStatus_.is<LoadStatus::Failed>()) parts_.notices.clear();
}

LoadDecision OneClickLoad::loadDecision(const Suggestion& suggestion) const {
  const LiveMirror& live = parts_.live;
  if (!parts_.watching.watching() || parts_.live.health().as<ReaderHealth::Reading>() == nullptr) {
    return LoadDecision::refused("Connect to rekordbox first.");
  }
  return LoadSafety::decide(suggestion.track, live.focus(), live.decks(), live.motion(), live.pendingDecks(),
                            *parts_.library.songKeys(), live.mixer());
}

void OneClickLoad::load(const Suggestion& suggestion) {
  const Notifier::Batch batch(parts_.notifier);
  if (!oneClickLoad_ || isLoading()) return;
  bool confirmed = false;
  const LoadDecision decision = loadDecision(suggestion);
  if (const auto* refused = decision.as<LoadDecision::Refused>()) {
    recordOneClick("refused", refused->reason);
    fail(refused->reason, std::nullopt);
    return;
  }
  int deck = 0;
  if (const auto* asks = decision.as<LoadDecision::NeedsConfirmation>()) {
    if (!confirmOverPlaying(suggestion, asks->deck)) return;
    confirmed = true;
    deck = asks->deck;
  } else {
    deck = decision.as<LoadDecision::Allowed>()->deck;
  }
  if (!readyToDrive()) return;
  startLoad(suggestion, deck, confirmed);
}

bool OneClickLoad::confirmOverPlaying(const Suggestion& suggestion, int deck) {
  const Date now = wallClock_->now();
  if (playingConfirmation_ && playingConfirmation_->deck == deck && now < playingConfirmation_->until) {
    const bool sameTrack = playingConfirmation_->trackID == suggestion.track.id;
    playingConfirmation_.reset();
    recordOneClick(sameTrack ? "confirmed-over-playing" : "confirmed-over-playing-other-lane");
    return true;
  }
  playingConfirmation_ = PlayingConfirmation{suggestion.track.id, deck, now.adding(confirmationSeconds)};
  recordOneClick("confirm-asked");
  parts_.notices.show(
      deckName(deck) + " is still playing. If it's faded out, click Load again to load over it.",
      deckName(deck) + " playing: click Load again to load.", confirmationSeconds);
  return false;
}

bool OneClickLoad::readyToDrive() {
  const KeyPreset::Result preset = keyPresetCheck_->check();
  if (const auto* differs = std::get_if<KeyPreset::Differs>(&preset)) {
    recordOneClick("keys-differ");
    fail("Your rekordbox keyboard preset (" + differs->preset + ") uses different keys for " +
             joined(differs->commands) + ". One-click load needs rekordbox's default shortcuts.",
         "rekordbox shortcuts differ. See Full.");
    return false;
  }
  if (!loader_->isAuthorized()) {
    recordOneClick("accessibility-needed");
    loader_->requestAuthorization();
    fail(LoadError::accessibilityNeeded().errorDescription(), std::nullopt);
    return false;
  }
  return true;
}

void OneClickLoad::startLoad(const Suggestion& suggestion, int deck, bool confirmed) {
  const Track track = suggestion.track;
  const DeckContent before = parts_.live.deckContent(deck);
  setLoadStatus(LoadStatus::loading(track.id, deck));
  if (loadVerification_) loadVerification_->cancel();
  const std::vector<ClickThrough::WindowID> windows = clickThrough_->ignoreMouse();

  auto stillSafe = [weak = self_, suggestion, deck, confirmed](LoaderPort::Answer answer) {
    const auto self = weak.lock();
    if (!self) return answer("Kesta closed.");
    self->recheckSafety(suggestion, deck, confirmed, std::move(answer));
  };
  // The windows get the mouse back however the load ends, a throw included,
  // and also when the model has gone meanwhile; the loader holding the model
  // strongly would keep it alive for ever.
  auto done = [weak = self_, clickThrough = clickThrough_, track, deck, before,
               windows](LoadOutcome outcome) {
    struct Restore {
      ClickThrough& clickThrough;
      const std::vector<ClickThrough::WindowID>& windows;
      ~Restore() { clickThrough.restoreMouse(windows); }
    } restore{*clickThrough, windows};
    if (const auto self = weak.lock()) self->finishLoad(track, deck, before, outcome);
  };
  try {
    loader_->load(track, deck, parts_.library.index(), std::move(stillSafe), std::move(done));
  } catch (const std::exception& error) {
    recordOneClick("error");
    fail(error.what(), std::nullopt);
    clickThrough_->restoreMouse(windows);
  }
}

void OneClickLoad::recheckSafety(const Suggestion& suggestion, int deck, bool confirmed,
                                 LoaderPort::Answer answer) const {
  const SafetyRecheck check = SafetyRecheck::judge(loadDecision(suggestion), deck, confirmed,
                                                   parts_.live.motion(), parts_.live.mixer());
  switch (check.kind) {
    case SafetyRecheck::Kind::stop:
      return answer(check.reason);
    case SafetyRecheck::Kind::rereadReadout:
      if (const auto& engine = parts_.watching.engine()) {
        auto reread = std::make_shared<RereadAnswer>(deck, std::move(answer), mainQueue_);
        return engine->confirmStopped(deck, [reread](std::optional<bool> stopped) { (*reread)(stopped); });
      }
      return answer(std::nullopt);
    case SafetyRecheck::Kind::goOn:
      return answer(std::nullopt);
  }
}

void OneClickLoad::finishLoad(const Track& track, int deck, const DeckContent& before,
                              const LoadOutcome& outcome) {
  const Notifier::Batch batch(parts_.notifier);
  if (!outcome.failure) {
    verifyLoad(track, deck, before, outcome.attempt);
    return;
  }
  const LoadFailure& failure = *outcome.failure;
  recordOneClick(failureCode(failure), failure.error ? failureDetail(*failure.error) : std::nullopt);
  fail(failure.description, failureShort(failure));
}

void OneClickLoad::verifyLoad(const Track& track, int deck, DeckContent before, int tries) {
  std::optional<std::string> detail;
  if (tries >= 2) detail = "on try " + std::to_string(tries);
  scheduleLandingPoll(Verification{track, deck, std::move(before), std::move(detail), 1});
}

// The verification's pending sleep is the handle a new load cancels.
void OneClickLoad::scheduleLandingPoll(Verification verification) {
  loadVerification_ = scheduler_->after(pollSeconds, [weak = self_, verification]() mutable {
    if (const auto self = weak.lock()) self->pollLanding(std::move(verification));
  });
}

void OneClickLoad::pollLanding(Verification verification) {
  const Notifier::Batch batch(parts_.notifier);
  const DeckContent current = parts_.live.deckContent(verification.deck);
  switch (judgeLanding(current, verification.track, verification.before, parts_.library.index())) {
    case LoadLanding::landed:
      return landed(verification, current);
    case LoadLanding::landedAmbiguous:
      parts_.watching.identify(verification.deck, verification.track);
      return landed(verification, DeckContent::track(verification.track.id));
    case LoadLanding::wrongTrack:
      return wrongTrackLanded(verification, current);
    case LoadLanding::notYet:
      break;
  }
  if (verification.poll < polls) {
    ++verification.poll;
    return scheduleLandingPoll(std::move(verification));
  }
  const std::string deck = deckName(verification.deck);
  recordOneClick("not-seen-on-deck");
  fail("rekordbox didn't show " + unicode::isolated(verification.track.title) + " on " + deck +
           " within 6 s. Check " + deck + "; rekordbox's Undo is " + strokeText(RekordboxKeys::undoLoad) +
           ".",
       "Not seen on " + deck + ". Check it; " + strokeText(RekordboxKeys::undoLoad) + " undoes.");
}

void OneClickLoad::landed(const Verification& verification, DeckContent content) {
  lastLoad_ = LastLoad{verification.deck, std::move(content)};
  recordOneClick("loaded", verification.detail);
  setLoadStatus(LoadStatus::done(
      "Loaded " + unicode::isolated(verification.track.title) + " on " + deckName(verification.deck) + ".",
      true));
  loadVerification_ = scheduler_->after(doneClearSeconds, [weak = self_] {
    const auto self = weak.lock();
    if (self && self->loadStatus_.is<LoadStatus::Done>()) self->setLoadStatus(LoadStatus::idle());
  });
}

// Another track came: the undo stays offered, without a timed clear, until
// the next load status.
void OneClickLoad::wrongTrackLanded(const Verification& verification, DeckContent content) {
  const auto* shown = content.as<DeckContent::Track>();
  const Track* other = shown != nullptr ? parts_.library.index().track(shown->id) : nullptr;
  const std::string deck = deckName(verification.deck);
  lastLoad_ = LastLoad{verification.deck, std::move(content)};
  recordOneClick("wrong-track-landed");
  setLoadStatus(LoadStatus::done(deck + " got " +
                                     (other != nullptr ? unicode::isolated(other->title) : "another track") +
                                     ", not " + unicode::isolated(verification.track.title) + ". Undo it?",
                                 true));
  showLoadStatusShort(deck + " got a different track. Undo it?");
}

void OneClickLoad::undoLoad() {
  const Notifier::Batch batch(parts_.notifier);
  if (!lastLoad_ || parts_.live.deckContent(lastLoad_->deck) != lastLoad_->content) {
    recordOneClick("undo-withheld");
    fail("Deck changed since the load, so Kesta didn't send Undo. Use rekordbox's own Undo if needed.",
         "Deck changed, so Kesta didn't send Undo.");
    return;
  }
  lastLoad_.reset();
  loader_->undoLastLoad([weak = self_](std::optional<LoadFailure> failure) {
    if (const auto self = weak.lock()) self->finishUndo(failure);
  });
}

void OneClickLoad::finishUndo(const std::optional<LoadFailure>& failure) {
  const Notifier::Batch batch(parts_.notifier);
  if (!failure) {
    recordOneClick("undo-sent");
    setLoadStatus(LoadStatus::done("Asked rekordbox to undo the load.", false));
    return;
  }
  recordOneClick("undo-" + failureCode(*failure));
  fail(failure->description, failureShort(*failure));
}

void OneClickLoad::allowOneClick() {
  loader_->requestAuthorization();
  urls_->open(accessibilitySettings, {});
}

void OneClickLoad::fail(std::string message, std::optional<std::string> shortText) {
  setLoadStatus(LoadStatus::failed(message));
  showLoadStatusShort(std::move(shortText));
  scheduler_->after(failureClearSeconds, [weak = self_, message = std::move(message)] {
    const auto self = weak.lock();
    if (self && self->loadStatus_ == LoadStatus::failed(message)) self->setLoadStatus(LoadStatus::idle());
  });
}

// Listeners hear of a status before its short form is set: they are told
// again, so that the corner card shows the short form.
void OneClickLoad::showLoadStatusShort(std::optional<std::string> shortText) {
  if (!shortText) return;
  loadStatusShort_ = std::move(shortText);
  parts_.notifier.changed(Field::loadStatus);
}

void OneClickLoad::recordOneClick(const std::string& code, std::optional<std::string> detail) {
  parts_.diagnostics.log().recordOneClick(code, detail);
}

}  // namespace kesta::model
