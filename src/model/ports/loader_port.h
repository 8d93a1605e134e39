#pragma once

#include <functional>
#include <optional>
#include <string>

#include "library/track.h"
#include "oneclick/load_error.h"
#include "reading/library_index.h"

namespace kesta::model {

// Why a load or an undo failed: a loader error, or another failure in words.
struct LoadFailure {
  std::optional<LoadError> error;  // absent for failures the loader does not name
  std::string description;         // the full text; the error's own for a LoadError
};

// How a load ended: the attempt that loaded the track (from 1), or a failure.
struct LoadOutcome {
  int attempt = 0;
  std::optional<LoadFailure> failure;
};

// The one-click loader as the app model sees it. Loads and undos run
// elsewhere; their outcomes are delivered on the main thread. Called on the
// main thread.
class LoaderPort {
 public:
  // The safety re-check during a load, run on the main thread: it answers
  // (at once or later, on the main thread) nothing to go on, or the reason to
  // stop.
  using Answer = std::function<void(std::optional<std::string>)>;
  using StillSafe = std::function<void(Answer answer)>;

  virtual ~LoaderPort() = default;

  // Whether the loader may drive rekordbox; cheap, and safe while a load runs.
  virtual bool isAuthorized() const = 0;
  // Asks the user for that permission; does not wait for the answer.
  virtual void requestAuthorization() = 0;
  // Loads `track` onto `deck` (1 or 2).
  virtual void load(Track track, int deck, LibraryIndex index, StillSafe stillSafe,
                    std::function<void(LoadOutcome)> done) = 0;
  // Asks rekordbox to undo its last load; none when that was sent.
  virtual void undoLastLoad(std::function<void(std::optional<LoadFailure>)> done) = 0;
};

}  // namespace kesta::model
