#include "oneclick/load_error.h"

#include <gtest/gtest.h>

#include <string>

namespace kesta {
namespace {

struct ErrorRow {
  LoadError error;
  std::string full;
  std::string brief;
  std::string code;
  bool retry;
};

TEST(LoadError, EveryCaseHasItsTextsCodeAndRetryRule) {
  const ErrorRow rows[] = {
      {LoadError::ambiguous(2),
       "rekordbox showed 2 rows that could be this track. Kesta didn't guess; load it yourself.",
       "Several rows match. Load it yourself.", "rows-ambiguous", false},
      {LoadError::becameUnsafe("Deck 2 is changing. Try again in a moment."),
       "Stopped before loading: Deck 2 is changing. Try again in a moment.",
       "Stopped: the deck changed or started.", "became-unsafe", false},
      {LoadError::rowMoved("window moved"),
       "The track wasn't in the row Kesta clicked, so it didn't load anything. Load this one yourself.",
       "Clicked row didn't match. Nothing loaded.", "row-moved", true},
      {LoadError::accessibilityNeeded(),
       "One-click load needs Accessibility permission: System Settings \u203A Privacy & Security "
       "\u203A Accessibility \u203A Kesta Live Beta.",
       "Needs Accessibility permission (see Full).", "accessibility-needed", false},
      {LoadError::rekordboxNotRunning(), "rekordbox isn't open.", "rekordbox isn't open.",
       "rekordbox-not-running", false},
      {LoadError::windowNotVisible(), "Kesta couldn't see rekordbox's window to find the track.",
       "Couldn't see rekordbox's window.", "window-not-visible", false},
      {LoadError::notFound(),
       "Kesta couldn't find that exact track in rekordbox's search results (tried 3 times). Load it "
       "yourself.",
       "No exact row found. Load it yourself.", "row-not-found", true},
      {LoadError::eventFailed(), "Kesta couldn't send keys to rekordbox.", "Couldn't send keys to rekordbox.",
       "event-failed", false},
      {LoadError::searchNotFocused(),
       "rekordbox's search box didn't take the cursor (Control-F), so Kesta stopped before typing. "
       "Load this one yourself.",
       "Search box not focused. Load it yourself.", "search-not-focused", true},
      {LoadError::notFrontmost(),
       "rekordbox didn't come to the front, so Kesta stopped before sending any keys. Load this one "
       "yourself.",
       "rekordbox didn't come forward. Stopped.", "not-frontmost", true},
      {LoadError::resultsMoving(),
       "rekordbox's search results kept changing, so Kesta didn't click. Load this one yourself.",
       "Search results kept changing. Stopped.", "results-moving", true},
  };
  int retryable = 0;
  for (const auto& row : rows) {
    SCOPED_TRACE(row.code);
    EXPECT_EQ(row.error.errorDescription(), row.full);
    EXPECT_STREQ(row.error.what(), row.full.c_str());
    EXPECT_EQ(row.error.shortDescription(), row.brief);
    EXPECT_EQ(row.error.diagnosticsCode(), row.code);
    EXPECT_EQ(row.error.worthRetrying(), row.retry);
    retryable += row.retry ? 1 : 0;
  }
  EXPECT_EQ(retryable, 5);
}

TEST(LoadError, PayloadsShapeTextsButNotCodes) {
  EXPECT_EQ(LoadError::becameUnsafe("").errorDescription(), "Stopped before loading: ");
  EXPECT_EQ(LoadError::ambiguous(12).errorDescription().substr(0, 20), "rekordbox showed 12 ");

  const LoadError moved = LoadError::rowMoved("window moved");
  const LoadError lost = LoadError::rowMoved("row not found");
  EXPECT_EQ(moved.errorDescription(), lost.errorDescription());
  EXPECT_EQ(moved.shortDescription(), lost.shortDescription());
  EXPECT_EQ(moved.diagnosticsCode(), lost.diagnosticsCode());
  EXPECT_TRUE(moved.worthRetrying() && lost.worthRetrying());
  EXPECT_NE(moved, lost);
  EXPECT_EQ(lost.reason(), "row not found");
  EXPECT_EQ(LoadError::ambiguous(2), LoadError::ambiguous(2));
  EXPECT_NE(LoadError::ambiguous(2), LoadError::ambiguous(3));
  EXPECT_NE(LoadError::becameUnsafe("x"), LoadError::rowMoved("x"));
}

}  // namespace
}  // namespace kesta
