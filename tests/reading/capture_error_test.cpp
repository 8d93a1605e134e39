#include "reading/capture_error.h"

#include <gtest/gtest.h>

namespace kesta {
namespace {

TEST(CaptureError, TextsWordForWord) {
  struct Case {
    CaptureError error;
    std::string full;
    std::string brief;
    std::string debug;
  };
  const Case cases[] = {
      {CaptureError::captureFailed("Display :0 went away"),
       "Kesta couldn't capture the rekordbox window (Display :0 went away). It will keep retrying.",
       "Couldn't capture rekordbox. Retrying\u2026", R"(captureFailed("Display :0 went away"))"},
      {CaptureError::permissionNeeded(),
       "Kesta needs Screen Recording permission to read rekordbox's deck titles. Open System Settings \u203A "
       "Privacy "
       "& Security \u203A Screen & System Audio Recording, turn on Kesta Live Beta, then quit and reopen "
       "Kesta.",
       "Needs Screen Recording permission (see Full).", "permissionNeeded"},
      {CaptureError::rekordboxNotRunning(), "rekordbox isn't open. Open rekordbox, then press Connect.",
       "rekordbox isn't open.", "rekordboxNotRunning"},
      {CaptureError::windowNotVisible(),
       "rekordbox is open but its main window isn't visible on this computer's screens (minimized, hidden or "
       "on another workspace). Bring it into view.",
       "rekordbox's window isn't in view.", "windowNotVisible"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.error.errorDescription(), c.full);
    EXPECT_EQ(std::string(c.error.what()), c.full);
    EXPECT_EQ(c.error.shortDescription(), c.brief);
    EXPECT_EQ(c.error.debugDescription(), c.debug);
  }
}

TEST(CaptureError, MessageIsInsertedAsItIs) {
  // A message that ends with a full stop still gets the closing sentence.
  EXPECT_EQ(CaptureError::captureFailed("The window went away.").errorDescription(),
            "Kesta couldn't capture the rekordbox window (The window went away.). It will keep retrying.");
  EXPECT_EQ(CaptureError::captureFailed("say \"no\"\\\n\x01").debugDescription(),
            R"(captureFailed("say \"no\"\\\n\u{1}"))");
}

TEST(CaptureError, EqualByKindAndMessage) {
  EXPECT_EQ(CaptureError::captureFailed("a"), CaptureError::captureFailed("a"));
  EXPECT_NE(CaptureError::captureFailed("a"), CaptureError::captureFailed("b"));
  EXPECT_NE(CaptureError::windowNotVisible(), CaptureError::rekordboxNotRunning());
  EXPECT_EQ(CaptureError::permissionNeeded(), CaptureError::permissionNeeded());
}

}  // namespace
}  // namespace kesta
