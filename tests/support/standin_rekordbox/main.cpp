// A stand-in for rekordbox's main window, for tests: it shows two decks and the
// mixer where the reader looks for them and takes commands on standard input.
//
//   load <deck> <json>     {"title","artist","bpm","key","duration","elapsed"}
//   clear|play|stop|deck <deck>
//   seek <deck> <seconds>
//   fader <channel> <0..1>
//   eq <channel> high|mid|low <-1..1>
//   font <title pixels>
//   resize <width> <height>
//   blank on|off            the window's background only, or its decks and mixer again
//   move <x> <y>
//   browse <json array>    the browser's tracks: [{"title","artist","bpm","key","duration"}]
//   browser                its search text, shown rows, selection, decks and actions so far
//   hide | show | quit
//
// Each command is answered with one line of JSON ("ok" and the new state, or
// "error"), written once the change is on screen. At start it writes
// {"ready":<window id>,"width":…,"height":…}.
//
// Options: --size WxH (default 1600x1000), --position X,Y (default 0,0),
// --title-size PIXELS (default 15).

#include <unistd.h>

#include <QApplication>
#include <QCommandLineParser>
#include <QElapsedTimer>
#include <QJsonDocument>
#include <QSocketNotifier>
#include <QWindow>
#include <cstdio>

#include "standin_window.h"

namespace {

void answer(const QJsonObject& object) {
  const QByteArray line = QJsonDocument(object).toJson(QJsonDocument::Compact) + '\n';
  std::fwrite(line.constData(), 1, std::size_t(line.size()), stdout);
  std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
  // The window's WM_CLASS class is the application name.
  QCoreApplication::setApplicationName("rekordbox");
  QApplication app(argc, argv);

  QCommandLineParser parser;
  parser.addOptions({{"size", "Window size", "WxH", "1600x1000"},
                     {"position", "Window position", "X,Y", "0,0"},
                     {"title-size", "Title font size in pixels", "pixels", "15"}});
  parser.process(app);
  const QStringList size = parser.value("size").split('x');
  const QStringList position = parser.value("position").split(',');
  if (size.size() != 2 || position.size() != 2) {
    std::fputs("standin: --size WxH and --position X,Y\n", stderr);
    return 2;
  }

  standin::StandInWindow window(parser.value("title-size").toInt());
  window.setGeometry(position[0].toInt(), position[1].toInt(), size[0].toInt(), size[1].toInt());
  window.show();
  QElapsedTimer waited;
  waited.start();
  while (!window.windowHandle()->isExposed() && waited.elapsed() < 5000) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  }
  window.repaint();
  QGuiApplication::sync();
  answer(
      QJsonObject{{"ready", qint64(window.winId())}, {"width", window.width()}, {"height", window.height()}});

  QByteArray pending;
  QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
  QObject::connect(&input, &QSocketNotifier::activated, [&] {
    char buffer[4096];
    const ssize_t n = ::read(STDIN_FILENO, buffer, sizeof buffer);
    if (n <= 0) {
      input.setEnabled(false);
      QCoreApplication::quit();
      return;
    }
    pending.append(buffer, qsizetype(n));
    qsizetype end;
    while ((end = pending.indexOf('\n')) >= 0) {
      const QString command = QString::fromUtf8(pending.left(end)).trimmed();
      pending.remove(0, end + 1);
      if (!command.isEmpty()) answer(window.run(command));
    }
  });
  return app.exec();
}
