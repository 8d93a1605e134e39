#pragma once

#include <exception>
#include <functional>
#include <optional>
#include <stop_token>
#include <string>

#include "library/track.h"
#include "reading/library_index.h"

namespace kesta {

// The caller's safety re-check during a load: nothing while loading may go on,
// else the reason it may not (the load then ends with LoadError::becameUnsafe).
// Called on the loading thread.
using StillSafe = std::function<std::optional<std::string>()>;

// A load ended because its stop token was triggered; not a LoadError.
class LoadCancelled : public std::exception {
 public:
  const char* what() const noexcept override { return "The load was cancelled."; }
};

// How the app model drives a loader without knowing how it works.
class TrackLoading {
 public:
  virtual ~TrackLoading() = default;

  // Whether the loader may drive rekordbox now. Safe from any thread, also
  // while a load runs on another.
  virtual bool isAuthorized() const = 0;
  // Asks the user for that permission; does not wait for the answer.
  virtual void requestAuthorization() = 0;

  // Loads `track` onto deck `toDeck` (1 or 2), telling its row from rows of
  // other library tracks with `index`. Blocks the calling thread for the whole
  // load (its steps are paced by fixed waits), so it is called off the thread
  // that serves the user interface and the clipboard. Answers the number of
  // the attempt that succeeded, from 1. Throws LoadError for every failure the
  // loader detects (retries happen inside), LoadCancelled once `stop` is
  // requested; platform errors pass through unchanged.
  virtual int load(const Track& track, int toDeck, LibraryIndex index, const StillSafe& stillSafe,
                   std::stop_token stop = {}) = 0;

  // Asks rekordbox to undo its last track load. Throws LoadError.
  virtual void undoLastLoad() = 0;

 protected:
  TrackLoading() = default;
  TrackLoading(const TrackLoading&) = default;
  TrackLoading& operator=(const TrackLoading&) = default;
};

}  // namespace kesta
