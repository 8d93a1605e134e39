#pragma once

#include <QThreadPool>
#include <functional>

#include "model/ports/background_executor.h"

namespace kesta::ui {

// Background jobs on a pool of threads of its own. A job hands its result to
// the main thread itself, through the main queue; it must not throw. Made and
// destroyed on the main thread; `run` from any thread. Destroying the
// executor waits for the jobs already started. After a job of a second or
// more, the memory the heap holds free goes back to the system.
class QtBackgroundExecutor : public model::BackgroundExecutor {
 public:
  QtBackgroundExecutor();
  ~QtBackgroundExecutor() override;

  void run(std::function<void()> job) override;

 private:
  QThreadPool pool_;
};

}  // namespace kesta::ui
