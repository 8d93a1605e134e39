#pragma once

#include <string>

#include "model/view_snapshot.h"
#include "reading/reading_fixtures.h"

namespace kesta::test {

// The tracks the view function tests show.
inline Track strobe() { return libraryTrack("1", "Strobe", "deadmau5", 128.0, "8A"); }
inline Track levels() { return libraryTrack("2", "Levels", "", 126.5, std::nullopt); }

// Connected, following Strobe on deck 1 with Levels on deck 2.
inline model::ViewSnapshot followingStrobe() {
  model::ViewSnapshot s;
  s.watching = true;
  s.library.empty = false;
  s.decks[0].content = DeckContent::track("1");
  s.decks[0].track = strobe();
  s.decks[1].content = DeckContent::track("2");
  s.decks[1].track = levels();
  s.focus = Focus{1, DeckContent::track("1"), 1, FocusKind::load, 0, false};
  s.phase = TrackerPhase::following;
  s.currentTrack = strobe();
  return s;
}

// The set-up facts the start controls depend on.
inline model::ViewSnapshot setupStage(bool library, bool granted, bool asked, bool watching) {
  model::ViewSnapshot s;
  s.library.empty = !library;
  s.screenPermission = granted;
  s.askedForScreenPermission = asked;
  s.watching = watching;
  return s;
}

inline Suggestion suggestionOf(Lane lane, Track track, std::string why = "Same key",
                               std::optional<std::string> caveat = std::nullopt) {
  return {lane, std::move(track), std::move(why), std::move(caveat)};
}

}  // namespace kesta::test
