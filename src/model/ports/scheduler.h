#pragma once

#include <functional>

#include "model/ports/cancellation.h"

namespace kesta::model {

// Timed work on the main thread: `task` runs there once `seconds` have passed
// on the monotonic clock, unless the answered handle was cancelled first.
// Called on the main thread.
class Scheduler {
 public:
  virtual ~Scheduler() = default;
  virtual Cancellation after(double seconds, std::function<void()> task) = 0;
};

}  // namespace kesta::model
