#include "model/setup_buttons.h"

#include <gtest/gtest.h>

#include "model/set_rows.h"
#include "model/undo_target.h"
#include "view_snapshots.h"

namespace kesta::model {
namespace {

using test::setupStage;

TEST(SetupButtons, PermissionButtonsTakeConnectsPlaceUntilScreenReadingIsAllowed) {
  struct Case {
    const char* name;
    bool library;
    bool granted;
    bool asked;
    bool watching;
    bool needsAccess;
    // Shown: library, permission, reopen, allow one-click, connect.
    std::array<bool, 5> shown;
    const char* permissionText;
    const char* connectText;
    bool connectProminent;
  };
  const std::vector<Case> cases{
      {"noLibrary",
       false,
       false,
       false,
       false,
       false,
       {true, false, false, false, true},
       "Allow screen reading",
       "Connect rekordbox",
       false},
      {"notYetAsked",
       true,
       false,
       false,
       false,
       false,
       {true, true, false, false, false},
       "Allow screen reading",
       "Connect rekordbox",
       true},
      {"asked",
       true,
       false,
       true,
       false,
       false,
       {false, true, true, false, false},
       "Open Settings",
       "Connect rekordbox",
       true},
      {"ready",
       true,
       true,
       false,
       false,
       true,
       {true, false, false, true, true},
       "Allow screen reading",
       "Connect rekordbox",
       true},
      {"watching",
       true,
       true,
       true,
       true,
       false,
       {true, false, false, false, true},
       "Open Settings",
       "Stop",
       false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ViewSnapshot s = setupStage(c.library, c.granted, c.asked, c.watching);
    s.oneClickNeedsAccess = c.needsAccess;
    const SetupButtons b = setupButtons(s);
    EXPECT_EQ(
        (std::array{b.libraryShown, b.permissionShown, b.reopenShown, b.allowOneClickShown, b.connectShown}),
        c.shown);
    EXPECT_EQ(b.libraryText, c.library ? "Refresh library" : "Add rekordbox library");
    EXPECT_EQ(b.libraryProminent, !c.library);
    EXPECT_EQ(b.permissionText, c.permissionText);
    EXPECT_EQ(b.permissionProminent, !c.asked);
    EXPECT_EQ(b.connectText, c.connectText);
    EXPECT_EQ(b.connectProminent, c.connectProminent);
    EXPECT_EQ(b.connectEnabled, c.library);
    EXPECT_EQ(b.libraryDetailsEnabled, c.library);
  }
}

TEST(LibrarySummary, CountsTheLibraryOrSaysWhereItStays) {
  ViewSnapshot s;
  EXPECT_EQ(librarySummary(s), "Your library stays on this computer.");
  s.library.legacyNote = "Brought over 3 sets from version 0.5.";
  EXPECT_EQ(librarySummary(s), "Brought over 3 sets from version 0.5.");
  s.library.empty = false;
  s.library.totalEntries = 812;
  s.library.recommendable = 790;
  s.library.playlists = 14;
  EXPECT_EQ(librarySummary(s), "812 tracks · 790 suggestible · 14 playlists");
  s.exportAge = "exported 2 days ago";
  EXPECT_EQ(librarySummary(s), "812 tracks · 790 suggestible · 14 playlists · exported 2 days ago");
}

TEST(UndoTarget, UndoingAHideWinsOverUndoingALoad) {
  struct Case {
    bool dismissal;
    LoadStatus status;
    UndoTarget target;
  };
  const std::vector<Case> cases{
      {false, LoadStatus::idle(), UndoTarget::nothing},
      {false, LoadStatus::done("Loaded.", false), UndoTarget::nothing},
      {false, LoadStatus::done("Loaded.", true), UndoTarget::load},
      {false, LoadStatus::failed("No."), UndoTarget::nothing},
      {true, LoadStatus::idle(), UndoTarget::dismissal},
      {true, LoadStatus::done("Loaded.", true), UndoTarget::dismissal},
  };
  for (const Case& c : cases) {
    ViewSnapshot s;
    s.dismissalUndoable = c.dismissal;
    s.loadStatus = c.status;
    EXPECT_EQ(undoTarget(s), c.target);
  }
}

TEST(SetRows, TheRecordedSetComesFirstThenTheArchivedOnes) {
  ViewSnapshot s;
  s.activeSet = DJSet::started(Date::fromUnixSeconds(3000));
  s.archivedSets = {DJSet::started(Date::fromUnixSeconds(2000)), DJSet::started(Date::fromUnixSeconds(1000))};
  const std::vector<SetRow> rows = setRows(s);
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[0].set, &s.activeSet);
  EXPECT_TRUE(rows[0].current);
  EXPECT_EQ(rows[2].set, &s.archivedSets[1]);
  EXPECT_FALSE(rows[1].current);
  EXPECT_EQ(findSet(s, s.archivedSets[0].id), &s.archivedSets[0]);
  EXPECT_EQ(findSet(s, "gone"), nullptr);
}

}  // namespace
}  // namespace kesta::model
