#pragma once

#include <optional>
#include <string>

#include "model/view_snapshot.h"

// What one lane row shows, in the full window's form or the corner card's, as
// a pure function of the view snapshot. No clock, no locale; any thread.
namespace kesta::model {

// The full window's 58-point row, or the corner card's 32-point line.
enum class RowForm { full, card };

struct LaneRowText {
  std::optional<Suggestion> shown;  // the option on show; none while the lane is empty
  // The lines about the option. The full row: title, "<artist> · <reasons>",
  // the caveat (a blank without one), the tempo and the key. The card: title,
  // artist and "<bpm> · <key>" as the tempo, without caveat or key.
  std::string title;
  std::string detail;
  std::string detailKept;  // the end of `detail` after the artist: " · <reasons>"
  std::string caveat;
  std::string tempo;
  std::string key;
  bool moreOptions = false;  // the lane has another option to show
  bool loadShown = false;    // one-click load is on
  // Instead of an option: why the lane is empty and its tooltip.
  std::string emptyText;
  std::string emptyTooltip;
  friend bool operator==(const LaneRowText&, const LaneRowText&) = default;
};

LaneRowText laneRowText(const ViewSnapshot& snapshot, Lane lane, RowForm form);

}  // namespace kesta::model
