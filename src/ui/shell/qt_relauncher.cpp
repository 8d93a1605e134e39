#include "ui/shell/qt_relauncher.h"

#include <QCoreApplication>
#include <QProcess>
#include <utility>

namespace kesta::ui {

QtRelauncher::QtRelauncher()
    : QtRelauncher(QCoreApplication::applicationFilePath(), QCoreApplication::arguments().mid(1)) {}

QtRelauncher::QtRelauncher(QString program, QStringList arguments)
    : program_(std::move(program)), arguments_(std::move(arguments)) {}

bool QtRelauncher::startNewInstance() {
  if (program_.isEmpty()) return false;
  return QProcess::startDetached(program_, arguments_);
}

void QtRelauncher::terminate() {
  QMetaObject::invokeMethod(QCoreApplication::instance(), &QCoreApplication::quit, Qt::QueuedConnection);
}

}  // namespace kesta::ui
