#pragma once

#include <string>

#include "model/view_snapshot.h"

// Which of the full window's setup buttons show and what they say, as a pure
// function of the view snapshot. Without screen permission (and with a
// library) the permission buttons take the place of Connect. Any thread.
namespace kesta::model {

struct SetupButtons {
  bool libraryShown = false;
  std::string libraryText;  // "Add rekordbox library" or "Refresh library"
  bool libraryProminent = false;
  bool permissionShown = false;
  std::string permissionText;  // "Allow screen reading", then "Open Settings" once asked
  bool permissionProminent = false;
  bool reopenShown = false;
  bool allowOneClickShown = false;
  bool connectShown = false;
  std::string connectText;  // "Connect rekordbox" or "Stop"
  bool connectProminent = false;
  bool connectEnabled = false;
  bool libraryDetailsEnabled = false;
  friend bool operator==(const SetupButtons&, const SetupButtons&) = default;
};

SetupButtons setupButtons(const ViewSnapshot& snapshot);

// The line under the status: the library's counts and the export's age, the
// note about the earlier version's data, or where the library stays.
std::string librarySummary(const ViewSnapshot& snapshot);

}  // namespace kesta::model
