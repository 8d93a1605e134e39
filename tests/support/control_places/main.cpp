// Prints where Kesta's full window puts the controls that scripts/soak
// clicks, measured offscreen (see control_places.h), and writes each
// control's look to <folder>/<name>.ppm:
//
//   window <width> <height>
//   band <pixels>                         how much higher the content sits under a title bar
//   <name> <x> <y> <width> <height>       for connect, then load
//
// Exits 1, naming the control, when the window shows one of them nowhere.

#include <QApplication>
#include <QDir>
#include <QWidget>
#include <cstdio>
#include <utility>

#include "support/control_places/control_places.h"
#include "ui/look/application_look.h"
#include "ui/offscreen_messages.h"

int main(int argc, char** argv) {
  using kesta::test::SoakControl;
  qputenv("QT_QPA_PLATFORM", "offscreen");
  qInstallMessageHandler(kesta::test::quietOffscreenMessages);
  if (argc != 2) {
    std::fprintf(stderr, "usage: control_places <folder for the looks>\n");
    return 2;
  }
  QApplication application(argc, argv);
  kesta::ui::applyApplicationLook(application);
  const QDir folder(QString::fromLocal8Bit(argv[1]));

  for (const auto& [control, name] :
       {std::pair{SoakControl::connect, "connect"}, {SoakControl::load, "load"}}) {
    const kesta::test::StagedFullWindow staged(control);
    if (control == SoakControl::connect) {
      std::printf("window %d %d\nband %d\n", staged.window().width(), staged.window().height(),
                  staged.titleBand());
    }
    const kesta::test::ControlPlace place = staged.place();
    if (place.rect.isEmpty()) {
      std::fprintf(stderr, "control_places: the full window shows no %s button\n", name);
      return 1;
    }
    const QString path = folder.filePath(QString::fromLatin1(name) + QStringLiteral(".ppm"));
    if (!place.look.save(path, "PPM")) {
      std::fprintf(stderr, "control_places: cannot write %s\n", qPrintable(path));
      return 1;
    }
    const QRect& r = place.rect;
    std::printf("%s %d %d %d %d\n", name, r.x(), r.y(), r.width(), r.height());
  }
  return 0;
}
