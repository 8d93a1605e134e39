#include "ui/shell/qt_scheduler.h"

#include <QObject>
#include <QTimer>
#include <chrono>
#include <climits>
#include <cmath>
#include <utility>

namespace kesta::ui {

namespace {

// Whole milliseconds, rounded up so that the task never runs before its time;
// a Qt timer counts in int milliseconds, some 24 days at most.
std::chrono::milliseconds delayOf(double seconds) {
  if (!(seconds > 0)) return std::chrono::milliseconds(0);
  const double milliseconds = std::ceil(seconds * 1000);
  return std::chrono::milliseconds(milliseconds >= INT_MAX ? INT_MAX : static_cast<int>(milliseconds));
}

}  // namespace

QtScheduler::QtScheduler() : context_(std::make_unique<QObject>()) {}

QtScheduler::~QtScheduler() = default;

model::Cancellation QtScheduler::after(double seconds, std::function<void()> task) {
  model::Cancellation handle;
  QTimer::singleShot(delayOf(seconds), Qt::PreciseTimer, context_.get(), [handle, task = std::move(task)] {
    if (!handle.cancelled()) task();
  });
  return handle;
}

}  // namespace kesta::ui
