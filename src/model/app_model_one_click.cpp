// One-click load: whether a load may start, the second click over a playing
// deck, the checks before rekordbox is touched, the loader call with its
// safety re-check, the watch for the track on the deck, the timed clears of
// the load status, the undo, and a diagnostics record for every outcome.
//
// Everything here runs on the main thread. The loader, the engine and the
// scheduler answer through callbacks there; a load holds the model until the
// loader answers, verifications and clears hold it weakly. One load at a time
// is kept by the `loading` status.

#include <exception>
#include <memory>
#include <string>
#include <utility>

#include "model/app_model.h"
#include "model/load_landing.h"
#include "model/safety_recheck.h"
#include "oneclick/load_safety.h"
#include "oneclick/rekordbox_loader.h"
#include "oneclick/stroke_text.h"

namespace kesta::model {

namespace {

constexpr double confirmationSeconds = 4;
constexpr double pollSeconds = 0.25;
constexpr int polls = 24;  // the last one 6 s after the loader returned
constexpr double doneClearSeconds = 12;
constexpr double failureClearSeconds = 10;
constexpr const char* accessibilitySettings =
    "x-apple.systempreferences:com.apple.preference.security?Privacy_Accessibility";

std::string deckText(int deck) { return "Deck " + std::to_string(deck); }

std::string joined(const std::vector<std::string>& parts) {
  std::string text;
  for (const auto& part : parts) text += (text.empty() ? "" : ", ") + part;
  return text;
}

// The detail of the record of a failed load. The attempt count is the
// loader's limit, not the attempts made.
std::optional<std::string> failureDetail(const LoadError& error) {
  const std::string tries = "after " + std::to_string(RekordboxLoader::maxAttempts) + " tries";
  switch (error.kind()) {
    case LoadError::Case::becameUnsafe:
      return error.reason();
    case LoadError::Case::rowMoved:
      return tries + ", check saw: " + error.reason();
    default:
      return error.worthRetrying() ? std::optional(tries) : std::nullopt;
  }
}

std::string failureCode(const LoadFailure& failure) {
  return failure.error ? failure.error->diagnosticsCode() : "error";
}

std::optional<std::string> failureShort(const LoadFailure& failure) {
  return failure.error ? std::optional(failure.error->shortDescription()) : std::nullopt;
}

// The engine's answer to a re-read, passed on to the loader's re-check. An
// engine let go before it answered (the DJ pressed Stop) drops the call; the
// re-check is then answered as for an unreadable readout rather than never,
// which would leave the load waiting with Kesta's windows letting clicks through.
class RereadAnswer {
 public:
  RereadAnswer(int deck, LoaderPort::Answer answer, std::shared_ptr<MainQueue> mainQueue)
      : deck_(deck), answer_(std::move(answer)), mainQueue_(std::move(mainQueue)) {}
  RereadAnswer(const RereadAnswer&) = delete;
  RereadAnswer& operator=(const RereadAnswer&) = delete;
  // May run on the thread that let the engine go.
  ~RereadAnswer() {
    if (!answer_) return;
    mainQueue_->post([deck = deck_, answer = std::move(answer_)] {
      answer(SafetyRecheck::afterReread(deck, std::nullopt));
    });
  }

  void operator()(std::optional<bool> stillStopped) {
    std::exchange(answer_, nullptr)(SafetyRecheck::afterReread(deck_, stillStopped));
  }

 private:
  int deck_;
  LoaderPort::Answer answer_;
  std::shared_ptr<MainQueue> mainQueue_;
};

}  // namespace

LoadDecision AppModel::loadDecision(const Suggestion& suggestion) const {
  if (!watching_ || health_.as<ReaderHealth::Reading>() == nullptr) {
    return LoadDecision::refused("Connect to rekordbox first.");
  }
  return LoadSafety::decide(suggestion.track, focus_, decks_, motion_, pendingDecks_, songKeys_, mixer_);
}

void AppModel::load(const Suggestion& suggestion) {
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

bool AppModel::confirmOverPlaying(const Suggestion& suggestion, int deck) {
  const Date now = wallClock_->now();
  if (playingConfirmation_ && playingConfirmation_->deck == deck && now < playingConfirmation_->until) {
    const bool sameTrack = playingConfirmation_->trackID == suggestion.track.id;
    playingConfirmation_.reset();
    recordOneClick(sameTrack ? "confirmed-over-playing" : "confirmed-over-playing-other-lane");
    return true;
  }
  playingConfirmation_ = PlayingConfirmation{suggestion.track.id, deck, now.adding(confirmationSeconds)};
  recordOneClick("confirm-asked");
  show(deckText(deck) + " is still playing. If it's faded out, click Load again to load over it.",
       deckText(deck) + " playing: click Load again to load.", confirmationSeconds);
  return false;
}

bool AppModel::readyToDrive() {
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

void AppModel::startLoad(const Suggestion& suggestion, int deck, bool confirmed) {
  const Track track = suggestion.track;
  const DeckContent before = deckContent(deck);
  setLoadStatus(LoadStatus::loading(track.id, deck));
  if (loadVerification_) loadVerification_->cancel();
  const std::vector<ClickThrough::WindowID> windows = clickThrough_->ignoreMouse();

  auto stillSafe = [weak = weak_from_this(), suggestion, deck, confirmed](LoaderPort::Answer answer) {
    const auto model = weak.lock();
    if (!model) return answer("Kesta closed.");
    model->recheckSafety(suggestion, deck, confirmed, std::move(answer));
  };
  // The windows get the mouse back however the load ends, a throw included,
  // and also when the model has gone meanwhile; the loader holding the model
  // strongly would keep it alive for ever.
  auto done = [weak = weak_from_this(), clickThrough = clickThrough_, track, deck, before,
               windows](LoadOutcome outcome) {
    struct Restore {
      ClickThrough& clickThrough;
      const std::vector<ClickThrough::WindowID>& windows;
      ~Restore() { clickThrough.restoreMouse(windows); }
    } restore{*clickThrough, windows};
    if (const auto model = weak.lock()) model->finishLoad(track, deck, before, outcome);
  };
  try {
    loader_->load(track, deck, index_, std::move(stillSafe), std::move(done));
  } catch (const std::exception& error) {
    recordOneClick("error");
    fail(error.what(), std::nullopt);
    clickThrough_->restoreMouse(windows);
  }
}

void AppModel::recheckSafety(const Suggestion& suggestion, int deck, bool confirmed,
                             LoaderPort::Answer answer) const {
  const SafetyRecheck check =
      SafetyRecheck::judge(loadDecision(suggestion), deck, confirmed, motion_, mixer_);
  switch (check.kind) {
    case SafetyRecheck::Kind::stop:
      return answer(check.reason);
    case SafetyRecheck::Kind::rereadReadout:
      if (engine_) {
        auto reread = std::make_shared<RereadAnswer>(deck, std::move(answer), mainQueue_);
        return engine_->confirmStopped(deck, [reread](std::optional<bool> stopped) { (*reread)(stopped); });
      }
      return answer(std::nullopt);
    case SafetyRecheck::Kind::goOn:
      return answer(std::nullopt);
  }
}

void AppModel::finishLoad(const Track& track, int deck, const DeckContent& before,
                          const LoadOutcome& outcome) {
  if (!outcome.failure) {
    verifyLoad(track, deck, before, outcome.attempt);
    return;
  }
  const LoadFailure& failure = *outcome.failure;
  recordOneClick(failureCode(failure), failure.error ? failureDetail(*failure.error) : std::nullopt);
  fail(failure.description, failureShort(failure));
}

void AppModel::verifyLoad(const Track& track, int deck, DeckContent before, int tries) {
  std::optional<std::string> detail;
  if (tries >= 2) detail = "on try " + std::to_string(tries);
  scheduleLandingPoll(Verification{track, deck, std::move(before), std::move(detail), 1});
}

// The verification's pending sleep is the handle a new load cancels.
void AppModel::scheduleLandingPoll(Verification verification) {
  loadVerification_ = scheduler_->after(pollSeconds, [weak = weak_from_this(), verification]() mutable {
    if (const auto model = weak.lock()) model->pollLanding(std::move(verification));
  });
}

void AppModel::pollLanding(Verification verification) {
  const DeckContent current = deckContent(verification.deck);
  switch (judgeLanding(current, verification.track, verification.before, index_)) {
    case LoadLanding::landed:
      return landed(verification, current);
    case LoadLanding::landedAmbiguous:
      identify(verification.deck, verification.track);
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
  const std::string deck = deckText(verification.deck);
  recordOneClick("not-seen-on-deck");
  fail("rekordbox didn't show " + verification.track.title + " on " + deck + " within 6 s. Check " + deck +
           "; rekordbox's Undo is " + strokeText(RekordboxKeys::undoLoad) + ".",
       "Not seen on " + deck + ". Check it; " + strokeText(RekordboxKeys::undoLoad) + " undoes.");
}

void AppModel::landed(const Verification& verification, DeckContent content) {
  lastLoad_ = LastLoad{verification.deck, std::move(content)};
  recordOneClick("loaded", verification.detail);
  setLoadStatus(LoadStatus::done(
      "Loaded " + verification.track.title + " on " + deckText(verification.deck) + ".", true));
  loadVerification_ = scheduler_->after(doneClearSeconds, [weak = weak_from_this()] {
    const auto model = weak.lock();
    if (model && model->loadStatus_.is<LoadStatus::Done>()) model->setLoadStatus(LoadStatus::idle());
  });
}

// Another track came: the undo stays offered, without a timed clear, until
// the next load status.
void AppModel::wrongTrackLanded(const Verification& verification, DeckContent content) {
  const auto* shown = content.as<DeckContent::Track>();
  const Track* other = shown != nullptr ? index_.track(shown->id) : nullptr;
  const std::string deck = deckText(verification.deck);
  lastLoad_ = LastLoad{verification.deck, std::move(content)};
  recordOneClick("wrong-track-landed");
  setLoadStatus(LoadStatus::done(deck + " got " + (other != nullptr ? other->title : "another track") +
                                     ", not " + verification.track.title + ". Undo it?",
                                 true));
  showLoadStatusShort(deck + " got a different track. Undo it?");
}

void AppModel::undoLoad() {
  if (!lastLoad_ || deckContent(lastLoad_->deck) != lastLoad_->content) {
    recordOneClick("undo-withheld");
    fail("Deck changed since the load, so Kesta didn't send Undo. Use rekordbox's own Undo if needed.",
         "Deck changed, so Kesta didn't send Undo.");
    return;
  }
  lastLoad_.reset();
  loader_->undoLastLoad([weak = weak_from_this()](std::optional<LoadFailure> failure) {
    if (const auto model = weak.lock()) model->finishUndo(failure);
  });
}

void AppModel::finishUndo(const std::optional<LoadFailure>& failure) {
  if (!failure) {
    recordOneClick("undo-sent");
    setLoadStatus(LoadStatus::done("Asked rekordbox to undo the load.", false));
    return;
  }
  recordOneClick("undo-" + failureCode(*failure));
  fail(failure->description, failureShort(*failure));
}

void AppModel::allowOneClick() {
  loader_->requestAuthorization();
  urls_->open(accessibilitySettings);
}

void AppModel::dismissLoadStatus() { setLoadStatus(LoadStatus::idle()); }

void AppModel::fail(std::string message, std::optional<std::string> shortText) {
  setLoadStatus(LoadStatus::failed(message));
  showLoadStatusShort(std::move(shortText));
  scheduler_->after(failureClearSeconds, [weak = weak_from_this(), message = std::move(message)] {
    const auto model = weak.lock();
    if (model && model->loadStatus_ == LoadStatus::failed(message)) model->setLoadStatus(LoadStatus::idle());
  });
}

// Listeners hear of a status before its short form is set: they are told
// again, so that the corner card shows the short form.
void AppModel::showLoadStatusShort(std::optional<std::string> shortText) {
  if (!shortText) return;
  loadStatusShort_ = std::move(shortText);
  changed(Field::loadStatus);
}

void AppModel::recordOneClick(const std::string& code, std::optional<std::string> detail) {
  diagnosticsSession_.log.recordOneClick(code, detail);
  diagnosticsDirty_ = true;
}

DeckContent AppModel::deckContent(int deck) const {
  const auto index = static_cast<std::size_t>(deck - 1);
  return index < decks_.size() ? decks_[index] : DeckContent::unknown();
}

}  // namespace kesta::model
