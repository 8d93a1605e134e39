#include "model/setup_buttons.h"

namespace kesta::model {

SetupButtons setupButtons(const ViewSnapshot& s) {
  const bool empty = s.library.empty;
  const bool asked = s.askedForScreenPermission;
  const bool permissionGroup = !s.screenPermission && !empty;
  return {.libraryShown = !(asked && permissionGroup),
          .libraryText = empty ? "Add rekordbox library" : "Refresh library",
          .libraryProminent = empty,
          .permissionShown = permissionGroup,
          .permissionText = asked ? "Open Settings" : "Allow screen reading",
          .permissionProminent = !asked,
          .reopenShown = permissionGroup && asked,
          .allowOneClickShown = !permissionGroup && s.oneClickNeedsAccess,
          .connectShown = !permissionGroup,
          .connectText = s.watching ? "Stop" : "Connect rekordbox",
          .connectProminent = !s.watching && !empty,
          .connectEnabled = !empty,
          .libraryDetailsEnabled = !empty};
}

std::string librarySummary(const ViewSnapshot& s) {
  const LibraryView& library = s.library;
  if (!library.empty) {
    std::string summary = std::to_string(library.totalEntries) + " tracks · " +
                          std::to_string(library.recommendable) + " suggestible · " +
                          std::to_string(library.playlists) + " playlists";
    if (s.exportAge) summary += " · " + *s.exportAge;
    return summary;
  }
  if (library.legacyNote) return *library.legacyNote;
  return "Your library stays on this computer.";
}

}  // namespace kesta::model
