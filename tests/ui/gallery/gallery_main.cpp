#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <cstdio>

#include "ui/gallery/plate.h"
#include "ui/look/application_look.h"
#include "ui/offscreen_messages.h"

// Renders every picture of the gallery to `<folder>/<name>.png`, offscreen, so
// the same sources give the same pictures on every machine.
int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  qInstallMessageHandler(kesta::test::quietOffscreenMessages);
  QApplication application(argc, argv);
  kesta::ui::applyApplicationLook(application);
  const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("build/screenshots");
  if (!QDir().mkpath(folder)) {
    std::fprintf(stderr, "gallery: cannot make %s\n", qPrintable(folder));
    return 1;
  }

  std::vector<kesta::ui::gallery::Shot> shots = kesta::ui::gallery::lookShots();
  for (auto& shot : kesta::ui::gallery::shellShots()) shots.push_back(std::move(shot));
  for (auto& shot : kesta::ui::gallery::laneAndDeckShots()) shots.push_back(std::move(shot));
  for (auto& shot : kesta::ui::gallery::windowShots()) shots.push_back(std::move(shot));

  int failures = 0;
  for (const auto& shot : shots) {
    const std::unique_ptr<QWidget> widget = shot.make();
    widget->adjustSize();
    widget->show();
    QApplication::processEvents();
    const QString path = QDir(folder).filePath(QString::fromStdString(shot.name) + QStringLiteral(".png"));
    if (widget->grab().save(path)) {
      std::printf("%s\n", qPrintable(path));
    } else {
      std::fprintf(stderr, "gallery: cannot write %s\n", qPrintable(path));
      ++failures;
    }
  }
  return failures == 0 ? 0 : 1;
}
