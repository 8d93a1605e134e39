#include "model/deck_text.h"

#include <gtest/gtest.h>

#include "view_snapshots.h"

namespace kesta::model {
namespace {

using test::followingStrobe;

TEST(DeckText, DescribesWhatTheDeckHolds) {
  struct Case {
    const char* name;
    DeckContent content;
    bool inLibrary;  // the deck's library track is known
    bool watching;
    const char* title;
    std::string meta;
    bool tappable;
  };
  const std::string strobeMeta = "\u2068deadmau5\u2069 · 128 BPM · 8A";
  const std::vector<Case> cases{
      {"track", DeckContent::track("1"), true, true, "Strobe", strobeMeta, true},
      {"trackGoneFromLibrary", DeckContent::track("9"), false, true, "—", " ", true},
      {"ambiguous", DeckContent::ambiguous({"7", "8", "9"}), false, true, "3 possible versions", " ", true},
      {"unmatched", DeckContent::unmatched("Someth1ng"), false, true, "Not in your library", " ", true},
      {"empty", DeckContent::empty(), false, true, "Empty", " ", false},
      {"reading", DeckContent::unknown(), false, true, "Reading…", " ", false},
      {"notConnected", DeckContent::unknown(), false, false, "—", " ", false},
      {"trackWhileStopped", DeckContent::track("1"), true, false, "Strobe", strobeMeta, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ViewSnapshot s = followingStrobe();
    s.watching = c.watching;
    s.decks[1].content = c.content;
    s.decks[1].track = c.inLibrary ? std::optional(test::strobe()) : std::nullopt;
    const DeckText text = deckText(s, 2);
    EXPECT_EQ(text.title, c.title);
    EXPECT_EQ(text.meta, c.meta);
    // A narrow card keeps tempo and key and cuts the artist; other lines have nothing to keep.
    EXPECT_EQ(text.metaKept, text.meta == strobeMeta ? " · 128 BPM · 8A" : "") << c.name;
    EXPECT_EQ(text.tappable, c.tappable);
  }
}

TEST(DeckText, MarksOnlyTheFollowedDeckAndTheOneBeingChecked) {
  ViewSnapshot s = followingStrobe();
  s.decks[1].checking = true;
  EXPECT_TRUE(deckText(s, 1).followed);
  EXPECT_FALSE(deckText(s, 1).checking);
  EXPECT_FALSE(deckText(s, 2).followed);
  EXPECT_TRUE(deckText(s, 2).checking);
  s.focus.reset();
  EXPECT_FALSE(deckText(s, 1).followed);
}

}  // namespace
}  // namespace kesta::model
