#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileDialog>

#include "ui/gallery/plate.h"
#include "ui/shell/qt_panels.h"

namespace kesta::ui::gallery {

namespace {

// A folder of the same few files on every machine, for the file panel's picture.
QString sampleFolder() {
  const QString folder = QDir::temp().filePath(QStringLiteral("kesta-gallery-exports"));
  QDir().mkpath(folder + QStringLiteral("/Older exports"));
  for (const char* name : {"rekordbox.xml", "rekordbox-2026-11.xml", "notes.txt"}) {
    QFile file(folder + QLatin1Char('/') + QLatin1String(name));
    if (!file.exists() && file.open(QIODevice::WriteOnly)) file.write("<DJ_PLAYLISTS/>\n");
  }
  return folder;
}

std::unique_ptr<QWidget> openPanel() {
  const model::OpenPanelRequest request{
      "Choose your rekordbox XML export",
      "In rekordbox: File › Export Collection in xml format. Then choose that file here.",
      {"xml"}};
  auto panel = QtPanels::makeOpenPanel(request, nullptr);
  auto* files = panel->findChild<QFileDialog*>();
  files->setViewMode(QFileDialog::List);
  files->setDirectory(sampleFolder());
  files->setSidebarUrls({});
  return panel;
}

}  // namespace

std::vector<Shot> shellShots() { return {{"shell_open_panel", openPanel}}; }

}  // namespace kesta::ui::gallery
