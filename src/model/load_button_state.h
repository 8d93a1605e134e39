#pragma once

#include <string>

#include "model/load_status.h"
#include "oneclick/load_decision.h"

// What the one-click load button beside a suggestion shows, as a pure
// function of the model's decision about that track and the load under way.
// No clock, no locale; any thread.
namespace kesta::model {

struct LoadButtonState {
  enum class Fill { raised, warn, lime };

  std::string title;  // "Load→D<n>", "Load→D<n>?", "Load" or "…"
  // The decision's title, whose room the button keeps while it shows "…",
  // so that nothing beside it moves.
  std::string restingTitle;
  bool enabled = false;
  Fill fill = Fill::raised;
  std::string tooltip;

  friend bool operator==(const LoadButtonState&, const LoadButtonState&) = default;
};

// The button of the track with id `trackID`, decided `decision`, while the
// load status is `status`. Every button waits while any load runs.
LoadButtonState loadButtonState(const LoadDecision& decision, const LoadStatus& status,
                                const std::string& trackID);

}  // namespace kesta::model
