#pragma once

#include <functional>

namespace kesta::model {

// The main thread's queue of work: what is posted runs there later, in the
// order posted, never inside `post` itself. `post` may be called from any
// thread; work posted after the queue has shut down is dropped.
class MainQueue {
 public:
  virtual ~MainQueue() = default;
  virtual void post(std::function<void()> task) = 0;
};

}  // namespace kesta::model
