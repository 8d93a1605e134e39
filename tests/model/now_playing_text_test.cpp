#include "model/now_playing_text.h"

#include <gtest/gtest.h>

#include "model/card_header.h"
#include "view_snapshots.h"

namespace kesta::model {
namespace {

using Kind = NowPlayingText::Kind;
using test::followingStrobe;
using test::setupStage;

// The snapshot with the focus on deck 1 holding `content` and no followed track.
ViewSnapshot focusedOn(DeckContent content, TrackerPhase phase = TrackerPhase::following) {
  ViewSnapshot s = followingStrobe();
  s.currentTrack.reset();
  s.decks[0].content = content;
  s.focus->content = std::move(content);
  s.phase = phase;
  return s;
}

TEST(NowPlayingText, ShowsTheFollowedTrackWithItsDeck) {
  ViewSnapshot s = followingStrobe();
  NowPlayingText shown = nowPlayingText(s);
  EXPECT_EQ(shown.kind, Kind::track);
  EXPECT_EQ(shown.headline, "Strobe");
  EXPECT_EQ(shown.readout, "\u2068deadmau5\u2069 · 128 BPM · 8A · Deck 1");
  EXPECT_EQ(shown.readoutKept, " · 128 BPM · 8A · Deck 1");
  // A screen track may be followed before any focus names its deck.
  s.focus.reset();
  EXPECT_EQ(nowPlayingText(s).readout, "\u2068deadmau5\u2069 · 128 BPM · 8A");
}

TEST(NowPlayingText, OffersAtMostThreeVersionsOfAnAmbiguousDeck) {
  ViewSnapshot s = focusedOn(DeckContent::ambiguous({"1", "2", "3", "4"}));
  s.decks[0].candidates = {test::strobe(), test::levels(), test::libraryTrack("3", "Opus"),
                           test::libraryTrack("4", "Cola")};
  const NowPlayingText shown = nowPlayingText(s);
  EXPECT_EQ(shown.kind, Kind::versions);
  EXPECT_EQ(shown.headline, "Which version is on Deck 1?");
  ASSERT_EQ(shown.versions.size(), kShownVersions);
  EXPECT_EQ(shown.versions.back().id, "3");
}

TEST(NowPlayingText, SaysWhyNothingIsShownFirstRuleWins) {
  struct Case {
    const char* name;
    ViewSnapshot snapshot;
    const char* headline;
  };
  ViewSnapshot stopped = focusedOn(DeckContent::empty());
  stopped.watching = false;
  ViewSnapshot unfocused = focusedOn(DeckContent::empty());
  unfocused.focus.reset();
  const std::vector<Case> cases{
      {"startup", focusedOn(DeckContent::unmatched("X"), TrackerPhase::ambiguousStartup),
       "Which deck are you mixing from?"},
      {"unmatched", focusedOn(DeckContent::unmatched("X")), "Deck 1: not in your library"},
      {"waiting", focusedOn(DeckContent::empty()), "Waiting for a load…"},
      {"waitingWithoutFocus", unfocused, "Waiting for a load…"},
      {"stopped", stopped, "Not connected"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const NowPlayingText shown = nowPlayingText(c.snapshot);
    EXPECT_EQ(shown.kind, Kind::nothing);
    EXPECT_EQ(shown.headline, c.headline);
    EXPECT_EQ(shown.readout, " ");
  }
}

TEST(CardHeader, ShowsTheFollowedTrackOrTheModelsHeading) {
  ViewSnapshot s = followingStrobe();
  s.heading = {"Ready", "Load a track in rekordbox"};
  EXPECT_EQ(cardHeader(s),
            (CardHeader{"Strobe", "Deck 1 · \u2068deadmau5\u2069 · 128 BPM · 8A", true, " · 128 BPM · 8A"}));
  s.currentTrack.reset();
  EXPECT_EQ(cardHeader(s), (CardHeader{"Ready", "Load a track in rekordbox", false, ""}));
}

TEST(CardMiddle, StartupQuestionWinsOverVersionsAndVersionsOverLanes) {
  EXPECT_EQ(cardMiddle(focusedOn(DeckContent::ambiguous({"1", "2"}), TrackerPhase::ambiguousStartup)),
            CardMiddle::startupQuestion);
  EXPECT_EQ(cardMiddle(focusedOn(DeckContent::ambiguous({"1", "2"}))), CardMiddle::versionPick);
  EXPECT_EQ(cardMiddle(focusedOn(DeckContent::unmatched("X"))), CardMiddle::lanes);
  EXPECT_EQ(cardMiddle(followingStrobe()), CardMiddle::lanes);
}

TEST(CardControl, ShowsTheOneControlThatMattersNow) {
  struct Case {
    const char* name;
    bool library;
    bool granted;
    bool asked;
    bool watching;
    bool problem;
    CardControl control;
  };
  const std::vector<Case> cases{
      {"setUp", false, true, false, false, false, CardControl::setUp},
      {"connect", true, true, false, false, false, CardControl::connect},
      {"notYetAsked", true, false, false, false, false, CardControl::connect},
      {"reopen", true, false, true, false, false, CardControl::reopen},
      {"reopenWithoutLibrary", false, false, true, false, false, CardControl::reopen},
      {"liveWhileAsked", true, false, true, true, false, CardControl::liveDot},
      {"problem", true, true, false, true, true, CardControl::problemDot},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ViewSnapshot s = setupStage(c.library, c.granted, c.asked, c.watching);
    s.readerProblem = c.problem;
    EXPECT_EQ(cardControl(s), c.control);
  }
}

}  // namespace
}  // namespace kesta::model
