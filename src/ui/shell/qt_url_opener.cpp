#include "ui/shell/qt_url_opener.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QTimer>
#include <QUrl>
#include <memory>
#include <utility>

#include "ui/shell/model_bridge.h"

namespace kesta::ui {

namespace {

using namespace std::chrono_literals;

// The launcher's outcome, told once: by its end or by the settle time,
// whichever comes first.
class Outcome {
 public:
  Outcome(QString address, model::UrlOpener::Done done)
      : address_(std::move(address)), done_(std::move(done)) {}

  void tell(bool opened) {
    if (told_) return;
    told_ = true;
    if (!opened) qWarning("Could not open %s", qPrintable(address_));
    if (done_) done_(opened);
  }

 private:
  QString address_;
  model::UrlOpener::Done done_;
  bool told_ = false;
};

// What the launcher is given: a path as it is, an address in its encoded
// form; empty when the text is neither (a launcher would read "-x" as an
// option).
QString launcherArgument(const std::string& url) {
  if (!url.empty() && url.front() == '/') return QFile::decodeName(url.c_str());
  const QUrl address(toQString(url), QUrl::StrictMode);
  if (!address.isValid() || address.scheme().isEmpty()) return {};
  return address.toString(QUrl::FullyEncoded);
}

}  // namespace

QtUrlOpener::QtUrlOpener() : QtUrlOpener(QStringLiteral("xdg-open"), 3s) {}

QtUrlOpener::QtUrlOpener(QString launcher, std::chrono::milliseconds settleTime)
    : launcher_(std::move(launcher)), settleTime_(settleTime) {}

void QtUrlOpener::open(const std::string& url, Done done) {
  const auto outcome = std::make_shared<Outcome>(toQString(url), std::move(done));
  const QString argument = launcherArgument(url);
  if (argument.isEmpty()) {
    QTimer::singleShot(0, QCoreApplication::instance(), [outcome] { outcome->tell(false); });
    return;
  }
  // Owned by the application until it ends; its destructor ends a launcher
  // still running at quit.
  auto* launcher = new QProcess(QCoreApplication::instance());
  launcher->setProgram(launcher_);
  launcher->setArguments({argument});
  launcher->setStandardInputFile(QProcess::nullDevice());
  // No pipes: a program the launcher leaves behind never writes into a closed one.
  launcher->setProcessChannelMode(QProcess::ForwardedChannels);
  QObject::connect(launcher, &QProcess::finished, launcher,
                   [launcher, outcome](int code, QProcess::ExitStatus status) {
                     outcome->tell(status == QProcess::NormalExit && code == 0);
                     launcher->deleteLater();
                   });
  // Queued: a launcher that cannot be started says so inside `start`.
  QObject::connect(
      launcher, &QProcess::errorOccurred, launcher,
      [launcher, outcome](QProcess::ProcessError error) {
        if (error != QProcess::FailedToStart) return;  // the others end in `finished`
        outcome->tell(false);
        launcher->deleteLater();
      },
      Qt::QueuedConnection);
  QTimer::singleShot(settleTime_, launcher, [outcome] { outcome->tell(true); });
  launcher->start();
}

}  // namespace kesta::ui
