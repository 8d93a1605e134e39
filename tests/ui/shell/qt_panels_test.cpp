#include "ui/shell/qt_panels.h"

#include <gtest/gtest.h>

#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <fstream>

namespace kesta::ui {
namespace {

const model::OpenPanelRequest kImport{"Choose your rekordbox XML export",
                                      "In rekordbox: File › Export Collection in xml format. Then choose "
                                      "that file here.",
                                      {"xml"}};

TEST(QtPanels, FilterNamesTheKindOfFile) {
  const struct {
    std::vector<std::string> extensions;
    const char* filter;
  } cases[] = {
      {{"xml"}, "rekordbox XML (*.xml)"},     {{"csv"}, "Comma-separated text (*.csv)"},
      {{"txt"}, "Plain text (*.txt)"},        {{"png"}, "PNG image (*.png)"},
      {{"json", "js"}, "JSON (*.json *.js)"}, {{}, "All files (*)"},
  };
  for (const auto& c : cases) EXPECT_EQ(QtPanels::filterFor(c.extensions).toStdString(), c.filter);
}

TEST(QtPanels, OpenPanelAsksForOneExistingXmlFileWithTheMessageShown) {
  const auto panel = QtPanels::makeOpenPanel(kImport, nullptr);
  const auto* files = panel->findChild<QFileDialog*>();
  ASSERT_NE(files, nullptr);
  EXPECT_EQ(panel->windowTitle().toStdString(), kImport.title);
  EXPECT_TRUE(files->testOption(QFileDialog::DontUseNativeDialog));
  EXPECT_EQ(files->fileMode(), QFileDialog::ExistingFile);
  EXPECT_EQ(files->acceptMode(), QFileDialog::AcceptOpen);
  EXPECT_EQ(files->nameFilters(), QStringList{QStringLiteral("rekordbox XML (*.xml)")});
  const auto* message = panel->findChild<QLabel*>(QStringLiteral("panelMessage"));
  ASSERT_NE(message, nullptr);
  EXPECT_EQ(message->text().toStdString(), kImport.message);
}

// Runs the open panel with the user choosing `name` in `folder` (or cancelling).
std::optional<std::filesystem::path> chooseIn(const QString& folder, const QString& name, bool confirm) {
  const auto panel = QtPanels::makeOpenPanel(kImport, nullptr);
  auto* files = panel->findChild<QFileDialog*>();
  files->setDirectory(folder);
  QTimer::singleShot(0, files, [files, name, confirm] {
    files->selectFile(name);
    auto* buttons = files->findChild<QDialogButtonBox*>();
    buttons->button(confirm ? QDialogButtonBox::Open : QDialogButtonBox::Cancel)->click();
  });
  return QtPanels::run(*panel);
}

TEST(QtPanels, RunAnswersTheChosenFileOrNothing) {
  QTemporaryDir folder;
  ASSERT_TRUE(folder.isValid());
  const std::filesystem::path exported = folder.filePath(QStringLiteral("export.xml")).toStdString();
  std::ofstream(exported) << "<DJ_PLAYLISTS/>";

  EXPECT_EQ(chooseIn(folder.path(), QStringLiteral("export.xml"), true), exported);
  EXPECT_EQ(chooseIn(folder.path(), QStringLiteral("export.xml"), false), std::nullopt);
}

}  // namespace
}  // namespace kesta::ui
