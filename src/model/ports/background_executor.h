#pragma once

#include <functional>

namespace kesta::model {

// Runs jobs off the main thread (imports, the library restore, rankings).
// A job hands its result back through the main queue itself; jobs may run in
// any order and at the same time.
class BackgroundExecutor {
 public:
  virtual ~BackgroundExecutor() = default;
  virtual void run(std::function<void()> job) = 0;
};

}  // namespace kesta::model
