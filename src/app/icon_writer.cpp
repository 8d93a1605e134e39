// Writes the application's icon for the desktop's icon theme: the Kesta mark
// as <folder>/hicolor/<n>x<n>/apps/kesta.png at every size the windows use.
// Run at build time; the install puts the folder in place.

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <cstdio>

#include "ui/look/kesta_mark.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: kesta_icon_writer <folder>\n");
    return 2;
  }
  qputenv("QT_QPA_PLATFORM", "offscreen");
  const QGuiApplication application(argc, argv);
  const QString folder = QString::fromLocal8Bit(argv[1]);
  for (const int pixels : kesta::ui::KestaMark::kIconSizes) {
    const QString apps = QString("%1/hicolor/%2x%2/apps").arg(folder).arg(pixels);
    if (!QDir().mkpath(apps) || !kesta::ui::KestaMark::iconImage(pixels).save(apps + "/kesta.png", "PNG")) {
      std::fprintf(stderr, "kesta_icon_writer: could not write %s/kesta.png\n", qPrintable(apps));
      return 1;
    }
  }
  return 0;
}
