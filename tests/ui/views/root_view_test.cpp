#include "ui/views/root_view.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTest>
#include <filesystem>

#include "ui/look/chip_button.h"
#include "ui/views/diagnostics_view.h"
#include "ui/views/full_view.h"
#include "ui/views/library_report_view.h"
#include "ui/views/sets_view.h"
#include "ui/views/view_scenes.h"

namespace kesta::ui {
namespace {

using test::ViewStage;

template <class Sheet>
Sheet* openSheet(RootView& root) {
  QDialog* dialog = root.sheetDialog();
  return dialog ? dialog->findChild<Sheet*>() : nullptr;
}

TEST(RootViewTest, ShowsOneSheetAtATimeAndEscapeClosesIt) {
  ViewStage stage;
  stage.install();
  RootView root(stage.bridge(), [](WindowMode) {});
  root.show();

  root.open(RootView::Sheet::library);
  ASSERT_NE(openSheet<LibraryReportView>(root), nullptr);
  EXPECT_EQ(root.sheetDialog()->windowModality(), Qt::WindowModal);
  root.open(RootView::Sheet::diagnostics);
  EXPECT_EQ(root.sheet(), RootView::Sheet::library);
  EXPECT_EQ(openSheet<DiagnosticsView>(root), nullptr);

  QTest::keyClick(root.sheetDialog(), Qt::Key_Escape);
  EXPECT_EQ(root.sheet(), std::nullopt);

  root.open(RootView::Sheet::sets);
  ASSERT_NE(openSheet<SetsView>(root), nullptr);
  openSheet<SetsView>(root)->doneButton()->click();
  EXPECT_EQ(root.sheet(), std::nullopt);
}

// Each sheet's window carries the sheet's own name, not the application's.
TEST(RootViewTest, EverySheetWindowIsTitledWithItsSheet) {
  ViewStage stage;
  stage.install();
  RootView root(stage.bridge(), [](WindowMode) {});
  root.show();
  const std::pair<RootView::Sheet, QString> cases[] = {
      {RootView::Sheet::library, "Your library"},
      {RootView::Sheet::sets, "Set history"},
      {RootView::Sheet::diagnostics, "Diagnostics"},
  };
  for (const auto& [sheet, title] : cases) {
    root.open(sheet);
    ASSERT_NE(root.sheetDialog(), nullptr);
    EXPECT_EQ(root.sheetDialog()->windowTitle(), title);
    root.sheetDialog()->reject();
  }
}

TEST(RootViewTest, MiniSwitchesToTheCard) {
  ViewStage stage;
  std::vector<WindowMode> modes;
  RootView root(stage.bridge(), [&](WindowMode mode) { modes.push_back(mode); });
  EXPECT_EQ(root.size(), QSize(380, 660));
  root.fullView()->miniButton()->click();
  EXPECT_EQ(modes, std::vector{WindowMode::mini});
}

TEST(LibraryReportViewTest, ListsTheNotesThenTheLegacyNote) {
  ViewStage stage;
  stage.install(test::stageLibrary(test::kLongFileName));
  LibraryReportView sheet(stage.bridge());
  EXPECT_EQ(sheet.fileName()->text(), toQString(test::kLongFileName));
  QStringList notes;
  for (const std::string& note : stage.model().library().report.notes()) notes << "• " + toQString(note);
  EXPECT_EQ(sheet.bullets(), notes);

  LegacyData legacy;
  legacy.sets = {DJSet::started(Date::fromUnixSeconds(1'700'000'000))};
  stage.model().finishRestore(std::nullopt, legacy);
  stage.finishWork();
  ASSERT_TRUE(stage.model().legacyNote().has_value());
  EXPECT_EQ(sheet.bullets().size(), notes.size() + 1);
  EXPECT_EQ(sheet.bullets().last(), "• " + toQString(*stage.model().legacyNote()));
}

class DiagnosticsViewTest : public ::testing::Test {
 protected:
  ViewStage stage;
};

TEST_F(DiagnosticsViewTest, ShowsTheReportOnOpeningAndOnRefresh) {
  stage.install();
  DiagnosticsView sheet(stage.bridge());
  sheet.show();
  const QString opened = toQString(stage.model().diagnosticsReport());
  EXPECT_EQ(sheet.report(), opened);

  stage.connect();
  stage.deliver({DeckContent::track("1"), DeckContent::empty()}, 1);
  ASSERT_NE(toQString(stage.model().diagnosticsReport()), opened);
  EXPECT_EQ(sheet.report(), opened);
  sheet.refreshButton()->click();
  EXPECT_EQ(sheet.report(), toQString(stage.model().diagnosticsReport()));
}

TEST_F(DiagnosticsViewTest, SavingWhatKestaSeesNeedsAConnection) {
  stage.install();
  DiagnosticsView sheet(stage.bridge());
  EXPECT_FALSE(sheet.saveDeckViewButton()->isEnabled());
  stage.connect();
  EXPECT_TRUE(sheet.saveDeckViewButton()->isEnabled());
  stage.model().stopWatching();
  stage.finishWork();
  EXPECT_FALSE(sheet.saveDeckViewButton()->isEnabled());
  EXPECT_TRUE(sheet.refreshButton()->isEnabled());
  EXPECT_TRUE(sheet.saveReportButton()->isEnabled());
  EXPECT_TRUE(sheet.openFolderButton()->isEnabled());
}

TEST_F(DiagnosticsViewTest, RawTextToggleSetsTheModelAtOnce) {
  DiagnosticsView sheet(stage.bridge());
  EXPECT_FALSE(sheet.rawTextToggle()->isChecked());
  sheet.rawTextToggle()->click();
  EXPECT_TRUE(stage.model().includeRawText());
  stage.model().setIncludeRawText(false);
  EXPECT_FALSE(sheet.rawTextToggle()->isChecked());
}

// The folder is made and opened; when the launcher says no file browser took
// it, the sheet says where the folder is, as text to select, until the DJ acts
// again. An answer that comes after the DJ acted, or after the sheet closed,
// shows nothing.
TEST_F(DiagnosticsViewTest, OpenFolderSaysOnTheSheetWhereTheFolderIsWhenNothingOpensIt) {
  enum class Between { nothing, refresh, toggle, close };
  struct Row {
    const char* name;
    bool taken;
    Between between;  // what the DJ does before the launcher's answer comes
    bool noticeShown;
  };
  const Row rows[] = {
      {"a file browser took it", true, Between::nothing, false},
      {"nothing took it", false, Between::nothing, true},
      {"nothing took it, after a refresh", false, Between::refresh, false},
      {"nothing took it, after the toggle", false, Between::toggle, false},
      {"nothing took it, after closing the sheet", false, Between::close, false},
  };
  const std::filesystem::path folder = stage.dataDir() / "diagnostics";
  RootView root(stage.bridge(), [](WindowMode) {});
  root.show();
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    std::filesystem::remove_all(folder);
    stage.urls->opened.clear();
    root.open(RootView::Sheet::diagnostics);
    QPointer<DiagnosticsView> sheet = openSheet<DiagnosticsView>(root);
    ASSERT_NE(sheet, nullptr);
    QTest::mouseClick(sheet->openFolderButton(), Qt::LeftButton);
    EXPECT_TRUE(std::filesystem::is_directory(folder));
    EXPECT_EQ(stage.urls->opened, std::vector<std::string>{folder.string()});
    EXPECT_TRUE(sheet->folderNotice().isEmpty());  // nothing is said before the answer
    if (row.between == Between::refresh) QTest::mouseClick(sheet->refreshButton(), Qt::LeftButton);
    if (row.between == Between::toggle) QTest::mouseClick(sheet->rawTextToggle(), Qt::LeftButton);
    if (row.between == Between::close) {
      QTest::mouseClick(sheet->doneButton(), Qt::LeftButton);
      QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
      ASSERT_EQ(sheet, nullptr);
    }
    stage.urls->answer(row.taken);
    if (!sheet) continue;
    const QString expected = QStringLiteral("Couldn't open a file browser. Diagnostics are saved in ") +
                             toQString(folder.string()) + ".";
    EXPECT_EQ(sheet->folderNotice(), row.noticeShown ? expected : QString());
    EXPECT_EQ(sheet->folderNoticeBox()->isVisible(), row.noticeShown);
    EXPECT_TRUE(sheet->folderNoticeBox()->textInteractionFlags() & Qt::TextSelectableByMouse);
    EXPECT_EQ(stage.model().notice(), std::nullopt);  // said on the sheet, not under it
    if (row.noticeShown) {
      // The next press is the DJ acting again: the notice goes.
      QTest::mouseClick(sheet->refreshButton(), Qt::LeftButton);
      EXPECT_FALSE(sheet->folderNoticeBox()->isVisible());
    }
    root.sheetDialog()->reject();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
}

}  // namespace
}  // namespace kesta::ui
