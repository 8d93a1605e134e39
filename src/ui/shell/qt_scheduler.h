#pragma once

#include <functional>
#include <memory>

#include "model/ports/scheduler.h"

class QObject;

namespace kesta::ui {

// Timed work on Qt's event loop: one precise single-shot timer per task, so
// tasks run in the order of their due times (tasks due at the same time in
// the order scheduled). A task never runs early, never after its handle was
// cancelled and never once the scheduler is gone. Main thread only.
class QtScheduler : public model::Scheduler {
 public:
  QtScheduler();
  ~QtScheduler() override;
  QtScheduler(const QtScheduler&) = delete;
  QtScheduler& operator=(const QtScheduler&) = delete;

  // Negative or zero seconds run the task at the next turn of the loop.
  model::Cancellation after(double seconds, std::function<void()> task) override;

 private:
  std::unique_ptr<QObject> context_;
};

}  // namespace kesta::ui
