#include <utility>

#include "model/app_model.h"

namespace kesta::model {

void AppModel::toggleWatching() {
  if (watching_) {
    stopWatching();
  } else {
    startWatching();
  }
}

void AppModel::startWatching() {
  publish(screenPermission_, screenAccess_->granted(), Field::screenPermission);
  if (library().isEmpty()) return;
  if (!screenPermission_) {
    requestScreenPermission();
    return;
  }
  retireEngine();
  engine_ = engines_->make(index_, songKeys_);
  const std::uint64_t generation = ++engineGeneration_;

  publish(watching_, true, Field::watching);
  publish(health_, ReaderHealth::connecting(), Field::health);
  publish(decks_, std::vector<DeckContent>{DeckContent::unknown(), DeckContent::unknown()}, Field::decks);
  publish(focus_, std::nullopt, Field::focus);
  publish(phase_, TrackerPhase::waiting, Field::phase);
  publish(lanes_, std::vector<LaneResult>{}, Field::lanes);
  resuming_ = false;

  // The engine takes its calls in order: the setting is in place before the first scan.
  engine_->setIncludeRawText(includeRawText_);
  engine_->start([weak = weak_from_this(), generation](const EngineUpdate& update) {
    const auto model = weak.lock();
    // A late update of an engine stopped since belongs to no session of ours.
    if (model && model->engineGeneration_ == generation) model->apply(update);
  });
}

void AppModel::stopWatching() {
  rememberFocus();
  retireEngine();
  publish(watching_, false, Field::watching);
  publish(health_, ReaderHealth::idle(), Field::health);
  publish(pendingDecks_, std::set<int>{}, Field::pendingDecks);
  saveDiagnostics();
  if (exportChangedDuringSet_) checkForNewerExport();
}

void AppModel::retireEngine() {
  ++engineGeneration_;
  if (!engine_) return;
  engine_->stop();
  // Letting go of an engine waits for its threads, which is no work for the main thread.
  background_->run([engine = std::exchange(engine_, nullptr)]() mutable { engine.reset(); });
}

void AppModel::requestScreenPermission() {
  if (!screenAccess_->request()) urls_->open(screenAccess_->settingsURL());
  publish(screenPermission_, screenAccess_->granted(), Field::screenPermission);
  publish(askedForScreenPermission_, true, Field::askedForScreenPermission);
}

void AppModel::relaunch() {
  finishDiagnostics();
  // The new instance reads the records at once: they must be on the disk.
  store_->flush();
  if (relauncher_->startNewInstance()) {
    mainQueue_->post([relauncher = relauncher_] { relauncher->terminate(); });
    return;
  }
  show("Kesta couldn't open a new copy of itself. Quit Kesta and open it again.",
       "Couldn't reopen. Quit and open Kesta again.", 8);
}

void AppModel::finishDiagnostics() {
  if (diagnosticsSession_.log.isEmpty()) return;
  const Date now = wallClock_->now();
  diagnosticsSession_.updatedAt = now;
  diagnosticsSession_.endedAt = now;
  store_->saveDiagnosticsNow(diagnosticsSession_);
}

void AppModel::prepareToQuit() {
  if (watching_) rememberFocus();
  finishDiagnostics();
  store_->flush();
  ++engineGeneration_;
  if (!engine_) return;
  engine_->shutdown();
  engine_.reset();
}

}  // namespace kesta::model
