#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "live/engine_update.h"
#include "live/focus.h"
#include "live/live_engine.h"
#include "platform/image/image.h"
#include "reading/library_index.h"

namespace kesta::model {

// The picture of both deck areas, or the capture's failure in words.
struct DeckViewAnswer {
  std::optional<Image> image;        // none when the deck areas could not be cut out
  std::optional<std::string> error;  // the failure's full text; then no image
};

// One live engine as the app model sees it, made at each Connect. Every call
// is made on the main thread and returns at once: the engine works through
// the calls in the order they were made, between two scans, and each answer
// is delivered on the main thread. The main thread never waits on the engine,
// except in `shutdown`.
class EnginePort {
 public:
  using SharedSongKeys = LiveEngine::SharedSongKeys;
  // Runs on the main thread with each scan's update. The engine's next scan
  // starts only after it has returned.
  using OnUpdate = std::function<void(const EngineUpdate&)>;

  virtual ~EnginePort() = default;

  virtual void setIncludeRawText(bool include) = 0;
  // Starts scanning; updates go to `onUpdate` until `stop`.
  virtual void start(OnUpdate onUpdate) = 0;
  // Ends scanning without waiting: no update is delivered after it, and a scan
  // waiting for its update to be applied is released.
  virtual void stop() = 0;
  // `stop`, then waits until the engine's own thread has ended. Calls made
  // before it are still answered. For quitting, and for letting go of an
  // engine off the main thread.
  virtual void shutdown() = 0;

  // The tracker's focus after the choice (unchanged when it was refused).
  virtual void chooseDeck(int deck, FocusKind kind, std::function<void(std::optional<Focus>)> answer) = 0;
  // The tracker's focus after naming the deck's track.
  virtual void resolve(int deck, std::string trackID, std::function<void(std::optional<Focus>)> answer) = 0;
  // The library's index and song keys are shared with the app model, never
  // copied; the map is never null.
  virtual void replaceLibrary(LibraryIndex index, SharedSongKeys songKeys) = 0;
  // Whether the deck is stopped, judged on a fresh capture; none when it
  // cannot be told.
  virtual void confirmStopped(int deck, std::function<void(std::optional<bool>)> answer) = 0;
  virtual void deckView(std::function<void(DeckViewAnswer)> answer) = 0;
};

// Makes a new engine over the library at each Connect (with a fresh frame
// source); it starts nothing. The index and the never-null song keys are
// shared with the app model, so making one does no work that grows with the
// library on the main thread.
class EngineFactory {
 public:
  virtual ~EngineFactory() = default;
  virtual std::shared_ptr<EnginePort> make(LibraryIndex index, EnginePort::SharedSongKeys songKeys) = 0;
};

}  // namespace kesta::model
