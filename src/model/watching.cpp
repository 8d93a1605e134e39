#include "model/watching.h"

#include <utility>

#include "model/diagnostics_record.h"
#include "model/engine_updates.h"
#include "model/lane_ranking.h"
#include "model/library_keeper.h"
#include "model/live_mirror.h"
#include "model/model_settings.h"
#include "model/notices.h"
#include "model/set_record.h"

namespace kesta::model {

namespace {

constexpr double resumeLimit = 3600;       // seconds: a remembered focus older than this is not resumed
constexpr double resumeRewriteAfter = 60;  // seconds: an unchanged resume point is rewritten after this

}  // namespace

Watching::Watching(const ModelPorts& ports, ModelParts parts)
    : parts_(parts),
      store_(ports.store),
      mainQueue_(ports.mainQueue),
      background_(ports.background),
      wallClock_(ports.wallClock),
      engines_(ports.engines),
      screenAccess_(ports.screenAccess),
      urls_(ports.urls),
      relauncher_(ports.relauncher),
      screenPermission_(screenAccess_->granted()),
      followedAtStop_(parts.settings.preferences().resumePoint) {}

Watching::~Watching() = default;

void Watching::toggle() {
  if (watching_) {
    stop();
  } else {
    start();
  }
}

void Watching::start() {
  const Notifier::Batch batch(parts_.notifier);
  parts_.notifier.publish(screenPermission_, screenAccess_->granted(), Field::screenPermission);
  if (parts_.library.library().isEmpty()) return;
  if (!screenPermission_) {
    requestScreenPermission();
    return;
  }
  retireEngine();
  engine_ = engines_->make(parts_.library.index(), parts_.library.songKeys());
  const std::uint64_t generation = ++engineGeneration_;

  parts_.notifier.publish(watching_, true, Field::watching);
  parts_.live.connecting();
  parts_.lanes.clear();
  resuming_ = false;

  // The engine takes its calls in order: the setting is in place before the first scan.
  engine_->setIncludeRawText(parts_.settings.includeRawText());
  engine_->start([weak = self_, generation](const EngineUpdate& update) {
    const auto watching = weak.lock();
    // A late update of an engine stopped since belongs to no session of ours.
    if (watching && watching->engineGeneration_ == generation) watching->parts_.updates.apply(update);
  });
}

void Watching::stop() {
  const Notifier::Batch batch(parts_.notifier);
  rememberFocus();
  retireEngine();
  parts_.notifier.publish(watching_, false, Field::watching);
  parts_.live.idle();
  parts_.diagnostics.save();
  if (parts_.library.exportChangedDuringSet()) parts_.library.checkForNewerExport();
}

void Watching::retireEngine() {
  ++engineGeneration_;
  if (!engine_) return;
  engine_->stop();
  // Letting go of an engine waits for its threads, which is no work for the main thread.
  background_->run([engine = std::exchange(engine_, nullptr)]() mutable { engine.reset(); });
}

void Watching::requestScreenPermission() {
  const Notifier::Batch batch(parts_.notifier);
  if (!screenAccess_->request()) urls_->open(screenAccess_->settingsURL(), {});
  parts_.notifier.publish(screenPermission_, screenAccess_->granted(), Field::screenPermission);
  parts_.notifier.publish(askedForScreenPermission_, true, Field::askedForScreenPermission);
}

void Watching::relaunch() {
  parts_.diagnostics.finish();
  // The new instance reads the records at once: they must be on the disk.
  store_->flush();
  if (relauncher_->startNewInstance()) {
    mainQueue_->post([relauncher = relauncher_] { relauncher->terminate(); });
    return;
  }
  parts_.notices.show("Kesta couldn't open a new copy of itself. Quit Kesta and open it again.",
                      "Couldn't reopen. Quit and open Kesta again.", 8);
}

void Watching::prepareToQuit() {
  if (watching_) rememberFocus();
  parts_.diagnostics.finish();
  store_->flush();
  ++engineGeneration_;
  if (!engine_) return;
  engine_->shutdown();
  engine_.reset();
}

void Watching::follow(int deck, FocusKind kind) {
  if (!engine_) return;
  engine_->chooseDeck(deck, kind, [weak = self_, asked = askedEngine()](std::optional<Focus> focus) {
    const auto watching = weak.lock();
    if (!watching || watching->answersLate(asked)) return;
    const Notifier::Batch batch(watching->parts_.notifier);
    // Refused: the DJ is asked to choose instead.
    if (!focus) watching->resuming_ = false;
    watching->parts_.updates.focusMoved(focus);
    watching->parts_.lanes.schedule();
    watching->rememberFocus();
  });
}

void Watching::identify(int deck, const Track& track) {
  if (!engine_ || deck < 1 || deck > static_cast<int>(parts_.live.decks().size())) return;
  engine_->resolve(deck, track.id,
                   [weak = self_, asked = askedEngine(), deck, track](std::optional<Focus> focus) {
                     const auto watching = weak.lock();
                     if (!watching || watching->answersLate(asked)) return;
                     const ModelParts& parts = watching->parts_;
                     const Notifier::Batch batch(parts.notifier);
                     parts.live.identified(deck, track.id, std::move(focus));
                     parts.sets.ledger().identified(track, deck, watching->wallClock_->now());
                     parts.sets.sync();
                     parts.lanes.schedule();
                   });
}

void Watching::resumeIfRemembered(const EngineUpdate& update) {
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

bool Watching::answersLate(const std::weak_ptr<EnginePort>& asked) const {
  // Without an engine (stopped since) the answer still counts; another engine
  // has its own state, which an answer of the old one would overwrite.
  return engine_ && engine_ != asked.lock();
}

void Watching::rememberFocus() {
  const auto& focus = parts_.live.focus();
  if (!focus) return;
  const auto& decks = parts_.live.decks();
  for (const auto& deck : decks) {
    if (deck.is<DeckContent::Unknown>()) return;
  }
  const ResumePoint point{decks, focus->deck, wallClock_->now()};
  followedAtStop_ = point;
  Preferences& preferences = parts_.settings.preferences();
  const auto& stored = preferences.resumePoint;
  if (stored && stored->decks == point.decks && stored->deck == point.deck &&
      point.at.secondsSince(stored->at) <= resumeRewriteAfter) {
    return;
  }
  preferences.resumePoint = point;
  parts_.settings.save();
}

void Watching::passIncludeRawText() {
  mainQueue_->post([weak = self_] {
    const auto watching = weak.lock();
    if (watching && watching->engine_) {
      watching->engine_->setIncludeRawText(watching->parts_.settings.includeRawText());
    }
  });
}

void Watching::replaceLibrary(const LibraryIndex& index, EnginePort::SharedSongKeys songKeys) {
  if (engine_) engine_->replaceLibrary(index, std::move(songKeys));
}

}  // namespace kesta::model
