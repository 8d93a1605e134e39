#pragma once

#include <functional>
#include <string>

#include "library/track.h"
#include "oneclick/load_decision.h"
#include "suggest/dj_set.h"
#include "suggest/lane.h"
#include "suggest/suggestion.h"

// Everything the DJ can ask of the app model from a window, and the two
// answers the windows ask for at the moment they need them (the decision
// about loading a track, worked out again at every click; the diagnostics
// report, read when its sheet opens). The views hold this and the view
// snapshot, never the model.
//
// Main thread only. The actions report nothing (what they change reaches the
// views as a change notification), except a diagnostics folder that could not
// be opened: that is told to the sheet that asked, since nothing the model
// keeps changes.
namespace kesta::model {

class ModelActions {
 public:
  virtual ~ModelActions() = default;

  // Connection and permissions.
  virtual void toggleWatching() = 0;
  virtual void requestScreenPermission() = 0;
  virtual void relaunch() = 0;
  virtual void allowOneClick() = 0;

  // Library and settings.
  virtual void chooseLibraryFile() = 0;
  virtual void refreshLibrary() = 0;
  virtual void setOneClickLoad(bool on) = 0;
  virtual void setIncludeRawText(bool include) = 0;
  virtual void setPoolID(const std::string& poolID) = 0;
  virtual void togglePlaylist(const std::string& id) = 0;

  // The decks and the followed track. `deck` is 1 or 2.
  virtual void follow(int deck) = 0;
  virtual void identify(int deck, const Track& track) = 0;
  virtual void flagWrongTrack() = 0;
  virtual void rate(const Track& track, int stars) = 0;

  // Lanes, loads and the set.
  virtual void nextOption(Lane lane) = 0;
  virtual void dismiss(const Suggestion& suggestion) = 0;
  virtual void undoDismiss() = 0;
  virtual LoadDecision loadDecision(const Suggestion& suggestion) const = 0;
  virtual void load(const Suggestion& suggestion) = 0;
  virtual void undoLoad() = 0;
  virtual void replayTracks() = 0;
  virtual void endSet() = 0;
  virtual void exportSet(const DJSet& set) = 0;

  // Diagnostics.
  virtual std::string diagnosticsReport() const = 0;
  virtual void exportDiagnostics() = 0;
  virtual void saveDeckView() = 0;
  // Saves the diagnostics now and opens their folder. When no file browser
  // takes it, `failed` gets, later and on the main thread, the notice saying
  // where the folder is.
  using FolderFailed = std::function<void(const std::string& notice)>;
  virtual void openDiagnosticsFolder(FolderFailed failed) = 0;
};

}  // namespace kesta::model
