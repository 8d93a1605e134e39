#pragma once

#include <deque>
#include <functional>
#include <mutex>

#include "model/ports/main_queue.h"

namespace kesta::test {
using namespace kesta::model;

// Holds posted work until the test drains it, as the main thread would.
class FakeMainQueue : public MainQueue {
 public:
  void post(std::function<void()> task) override {
    const std::lock_guard lock(mutex_);
    tasks_.push_back(std::move(task));
  }

  // Runs work until none is left, including work posted while draining.
  // Answers how many tasks ran.
  int drain() {
    int ran = 0;
    while (auto task = next()) {
      task();
      ++ran;
    }
    return ran;
  }

  std::size_t pending() const {
    const std::lock_guard lock(mutex_);
    return tasks_.size();
  }

 private:
  std::function<void()> next() {
    const std::lock_guard lock(mutex_);
    if (tasks_.empty()) return {};
    auto task = std::move(tasks_.front());
    tasks_.pop_front();
    return task;
  }

  mutable std::mutex mutex_;
  std::deque<std::function<void()>> tasks_;
};

}  // namespace kesta::test
