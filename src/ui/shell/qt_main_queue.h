#pragma once

#include <functional>
#include <memory>

#include "model/ports/main_queue.h"

class QObject;

namespace kesta::ui {

// The main thread's queue on Qt's event loop: each task is delivered as a
// queued call to an object living on the main thread, so tasks run in the
// order posted, after the poster's call has returned. Made on the main thread
// (it binds to it); `post` from any thread. Tasks still waiting when the
// queue is destroyed are dropped, and so is anything posted while Qt's loop
// no longer runs.
class QtMainQueue : public model::MainQueue {
 public:
  QtMainQueue();
  ~QtMainQueue() override;
  QtMainQueue(const QtMainQueue&) = delete;
  QtMainQueue& operator=(const QtMainQueue&) = delete;

  void post(std::function<void()> task) override;

 private:
  std::unique_ptr<QObject> home_;
};

}  // namespace kesta::ui
