#pragma once

#include <cstdint>
#include <memory>
#include <optional>

#include "library/track.h"
#include "live/engine_update.h"
#include "live/focus.h"
#include "model/model_parts.h"
#include "model/model_ports.h"
#include "reading/library_index.h"
#include "store/resume_point.h"

namespace kesta::model {

// Connect and Stop: the screen permission, the engine of each session and
// its lifetime, the DJ's choices of deck and track sent to it, the focus
// remembered for the next Connect, and the end of the run.
//
// Uses the library (what to read against), the live mirror, the engine
// updates, the lanes, the set record, the settings, the diagnostics and the
// notices. Threads: main thread only; the engine answers there, and answers
// of an engine replaced since are dropped (a generation raised at each
// Connect and Stop). An engine let go is destroyed off the main thread.
class Watching {
 public:
  Watching(const ModelPorts& ports, ModelParts parts);
  ~Watching();
  Watching(const Watching&) = delete;
  Watching& operator=(const Watching&) = delete;
  void attach(std::weak_ptr<Watching> self) { self_ = std::move(self); }

  void toggle();
  void start();
  void stop();
  void requestScreenPermission();
  // Starts a new instance and quits this one; stays when the start failed.
  void relaunch();
  // At quit: remembers the focus while watching, writes the diagnostics,
  // waits for the records still queued and stops the engine, returning once
  // its thread has ended.
  void prepareToQuit();

  void follow(int deck, FocusKind kind);
  // The DJ names the library track on an ambiguous deck (1 or 2).
  void identify(int deck, const Track& track);
  // Keeps the focus and the decks for the next Connect, while all are known.
  void rememberFocus();
  // At an ambiguous start-up, follows the remembered deck again when the
  // decks still hold what they held and the point is recent; forgets the
  // point once the tracker follows.
  void resumeIfRemembered(const EngineUpdate& update);

  // The engine gets the raw-text setting as it stands when this runs.
  void passIncludeRawText();
  // The current engine, if any, reads against another library.
  void replaceLibrary(const LibraryIndex& index, EnginePort::SharedSongKeys songKeys);

  bool watching() const { return watching_; }
  bool screenPermission() const { return screenPermission_; }
  bool askedForScreenPermission() const { return askedForScreenPermission_; }
  const std::optional<ResumePoint>& followedAtStop() const { return followedAtStop_; }
  // Following resumes from the remembered point, until the start-up is decided.
  bool resuming() const { return resuming_; }
  // The current session's engine, none while stopped.
  const std::shared_ptr<EnginePort>& engine() const { return engine_; }

 private:
  // Stops the current engine, if any, and lets it go off the main thread.
  void retireEngine();
  // The engine an answer will come from, and whether, once it comes, a newer
  // engine has replaced it.
  std::weak_ptr<EnginePort> askedEngine() const { return engine_; }
  bool answersLate(const std::weak_ptr<EnginePort>& asked) const;

  ModelParts parts_;
  std::shared_ptr<AppStore> store_;
  std::shared_ptr<MainQueue> mainQueue_;
  std::shared_ptr<BackgroundExecutor> background_;
  std::shared_ptr<WallClock> wallClock_;
  std::shared_ptr<EngineFactory> engines_;
  std::shared_ptr<ScreenAccess> screenAccess_;
  std::shared_ptr<UrlOpener> urls_;
  std::shared_ptr<Relauncher> relauncher_;
  std::weak_ptr<Watching> self_;

  bool watching_ = false;
  bool screenPermission_ = false;
  bool askedForScreenPermission_ = false;
  std::shared_ptr<EnginePort> engine_;
  // Raised at each Connect and Stop: updates of an engine that is no longer
  // the current one are dropped.
  std::uint64_t engineGeneration_ = 0;
  std::optional<ResumePoint> followedAtStop_;
  bool resuming_ = false;
};

}  // namespace kesta::model
