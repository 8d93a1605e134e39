#pragma once

#include <cstddef>
#include <functional>
#include <vector>

#include "model/ports/background_executor.h"

namespace kesta::test {
using namespace kesta::model;

// Holds background jobs until the test runs them, in any order.
class ManualExecutor : public BackgroundExecutor {
 public:
  void run(std::function<void()> job) override { jobs_.push_back(std::move(job)); }

  std::size_t pending() const { return jobs_.size(); }
  // Runs the job at `position` among those still held.
  void runJob(std::size_t position) {
    auto job = std::move(jobs_.at(position));
    jobs_.erase(jobs_.begin() + static_cast<std::ptrdiff_t>(position));
    job();
  }
  void runNext() { runJob(0); }
  void runAll() {
    while (!jobs_.empty()) runNext();
  }

 private:
  std::vector<std::function<void()>> jobs_;
};

}  // namespace kesta::test
