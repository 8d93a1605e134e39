#include "ui/shell/qt_url_opener.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QEventLoop>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <chrono>
#include <functional>
#include <optional>
#include <string>

namespace kesta::ui {
namespace {

using namespace std::chrono_literals;

// A launcher standing in for xdg-open: it writes what it was given to
// "given", then ends with `exit` once the file "go" exists.
QString writeLauncher(const QTemporaryDir& folder, int exit) {
  const QString path = folder.filePath(QStringLiteral("xdg-open"));
  QFile script(path);
  EXPECT_TRUE(script.open(QIODevice::WriteOnly));
  script.write(QStringLiteral("#!/bin/sh\n"
                              "printf '%s' \"$1\" > '%1/given'\n"
                              "while [ ! -e '%1/go' ]; do sleep 0.01; done\n"
                              "exit %2\n")
                   .arg(folder.path())
                   .arg(exit)
                   .toUtf8());
  script.close();
  script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  return path;
}

// Runs the event loop until `done` says so; the deadline only keeps a broken
// opener from hanging the run.
void waitFor(const std::function<bool()>& done) {
  QEventLoop loop;
  QTimer deadline;
  deadline.setSingleShot(true);
  deadline.start(20s);
  while (!done() && deadline.isActive()) loop.processEvents(QEventLoop::WaitForMoreEvents);
}

// The launcher the opener started that is still running, if any.
QProcess* runningLauncher() {
  for (QProcess* process : QCoreApplication::instance()->findChildren<QProcess*>()) {
    if (process->state() != QProcess::NotRunning) return process;
  }
  return nullptr;
}

TEST(QtUrlOpener, ToldOnceWhetherTheLauncherTookTheAddress) {
  const struct {
    const char* name;
    std::string url;
    int exit;    // -1: there is no launcher
    bool stays;  // the launcher waits, as one waiting for the program it started
    bool opened;
    bool started;
  } cases[] = {
      {"a folder taken", "/tmp/Kesta Live Beta/diagnostics", 0, false, true, true},
      {"no program for the folder", "/tmp/Kesta Live Beta/diagnostics", 3, false, false, true},
      {"the launcher failed", "/tmp/diagnostics", 4, false, false, true},
      {"an address", "x-apple.systempreferences:com.apple.preference.security?Privacy_Accessibility", 0,
       false, true, true},
      {"still running after the settle time", "/tmp/diagnostics", 3, true, true, true},
      {"an option, not an address", "-x", 0, false, false, false},
      {"no scheme", "diagnostics", 0, false, false, false},
      {"no launcher on this desktop", "/tmp/diagnostics", -1, false, false, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString go = folder.filePath(QStringLiteral("go"));
    if (!c.stays) QFile(go).open(QIODevice::WriteOnly);
    // A settle time no slow machine reaches, unless the launcher is to stay.
    const QString launcher =
        c.exit < 0 ? folder.filePath(QStringLiteral("absent")) : writeLauncher(folder, c.exit);
    QtUrlOpener opener(launcher, c.stays ? 50ms : 60s);
    int told = 0;
    std::optional<bool> opened;
    bool returned = false;
    opener.open(c.url, [&](bool taken) {
      EXPECT_TRUE(returned);  // never inside `open`
      ++told;
      opened = taken;
    });
    returned = true;
    waitFor([&] { return told > 0; });
    EXPECT_EQ(opened, c.opened);
    if (c.stays) {
      // The launcher ends later, with a failure: what was told stays told.
      QProcess* launcher = runningLauncher();
      ASSERT_NE(launcher, nullptr);
      bool ended = false;
      QObject::connect(launcher, &QProcess::finished, [&ended] { ended = true; });
      QFile(go).open(QIODevice::WriteOnly);
      waitFor([&] { return ended; });
      EXPECT_TRUE(ended);
    }
    EXPECT_EQ(told, 1);
    QFile given(folder.filePath(QStringLiteral("given")));
    EXPECT_EQ(given.exists(), c.started);
    if (c.started && given.open(QIODevice::ReadOnly)) {
      EXPECT_EQ(given.readAll().toStdString(), c.url);
    }
  }
}

}  // namespace
}  // namespace kesta::ui
