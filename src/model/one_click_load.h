#pragma once

#include <memory>
#include <optional>
#include <string>

#include "library/track.h"
#include "live/deck_content.h"
#include "model/load_status.h"
#include "model/model_parts.h"
#include "model/model_ports.h"
#include "oneclick/load_decision.h"
#include "platform/time/date.h"
#include "suggest/suggestion.h"

namespace kesta::model {

// One-click load: the setting, whether a load may start, the second click
// over a playing deck, the checks before rekordbox is touched, the loader
// call with its safety re-check, the watch for the track on the deck, the
// timed clears of the load status, the undo, and a diagnostics record for
// every outcome.
//
// Uses the watching session (its engine), the live mirror, the library's
// index, the settings, the notices and the diagnostics. Threads: main
// thread only; the loader, the engine and the scheduler answer there. A load
// holds the model weakly; one load at a time is kept by the `loading`
// status. Units: seconds.
class OneClickLoad {
 public:
  OneClickLoad(const ModelPorts& ports, ModelParts parts);
  void attach(std::weak_ptr<OneClickLoad> self) { self_ = std::move(self); }

  bool oneClickLoad() const { return oneClickLoad_; }
  void setOneClickLoad(bool on);
  const LoadStatus& loadStatus() const { return loadStatus_; }
  // The short form of the status, for the corner card.
  const std::optional<std::string>& loadStatusShort() const { return loadStatusShort_; }
  void setLoadStatus(LoadStatus status);
  bool isLoading() const { return loadStatus_.is<LoadStatus::Loading>(); }

  LoadDecision loadDecision(const Suggestion& suggestion) const;
  void load(const Suggestion& suggestion);
  void undoLoad();
  void allowOneClick();
  void dismissLoadStatus() { setLoadStatus(LoadStatus::idle()); }
  // A failure shown as the load status, cleared after 10 s.
  void fail(std::string message, std::optional<std::string> shortText);

 private:
  struct PlayingConfirmation {
    std::string trackID;
    int deck = 0;
    Date until;
  };
  struct LastLoad {
    int deck = 0;
    DeckContent content;
  };
  // A load's check for its track on the deck, one poll after another.
  struct Verification {
    Track track;
    int deck = 0;
    DeckContent before;                 // what the deck held when the load started
    std::optional<std::string> detail;  // of the "loaded" record
    int poll = 1;                       // the next poll, from 1
  };

  void verifyLoad(const Track& track, int deck, DeckContent before, int tries);
  void recordOneClick(const std::string& code, std::optional<std::string> detail = std::nullopt);
  // Sets the short form of the status just assigned.
  void showLoadStatusShort(std::optional<std::string> shortText);
  // A click on a playing deck: true when it is the confirming second click.
  bool confirmOverPlaying(const Suggestion& suggestion, int deck);
  // The keyboard preset and the permission, checked before rekordbox is touched.
  bool readyToDrive();
  void startLoad(const Suggestion& suggestion, int deck, bool confirmed);
  void finishLoad(const Track& track, int deck, const DeckContent& before, const LoadOutcome& outcome);
  void recheckSafety(const Suggestion& suggestion, int deck, bool confirmed, LoaderPort::Answer answer) const;
  void scheduleLandingPoll(Verification verification);
  void pollLanding(Verification verification);
  void landed(const Verification& verification, DeckContent content);
  void wrongTrackLanded(const Verification& verification, DeckContent content);
  void finishUndo(const std::optional<LoadFailure>& failure);

  ModelParts parts_;
  std::shared_ptr<LoaderPort> loader_;
  std::shared_ptr<KeyPresetCheck> keyPresetCheck_;
  std::shared_ptr<ClickThrough> clickThrough_;
  std::shared_ptr<Scheduler> scheduler_;
  std::shared_ptr<MainQueue> mainQueue_;
  std::shared_ptr<WallClock> wallClock_;
  std::shared_ptr<UrlOpener> urls_;
  std::weak_ptr<OneClickLoad> self_;

  bool oneClickLoad_ = false;
  LoadStatus loadStatus_;
  std::optional<std::string> loadStatusShort_;
  std::optional<PlayingConfirmation> playingConfirmation_;
  std::optional<LastLoad> lastLoad_;
  std::optional<Cancellation> loadVerification_;
};

}  // namespace kesta::model
