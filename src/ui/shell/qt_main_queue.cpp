#include "ui/shell/qt_main_queue.h"

#include <QCoreApplication>
#include <QObject>
#include <QThread>
#include <utility>

namespace kesta::ui {

QtMainQueue::QtMainQueue() : home_(std::make_unique<QObject>()) {
  if (const QCoreApplication* application = QCoreApplication::instance())
    home_->moveToThread(application->thread());
}

QtMainQueue::~QtMainQueue() {
  // The last owner may let go on another thread; the object must die on its own.
  if (home_ && home_->thread() != QThread::currentThread()) home_.release()->deleteLater();
}

void QtMainQueue::post(std::function<void()> task) {
  QMetaObject::invokeMethod(home_.get(), std::move(task), Qt::QueuedConnection);
}

}  // namespace kesta::ui
