#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>

#include "model/ports/main_queue.h"

namespace kesta::test {
using namespace kesta::model;

// A real main queue: other threads post, and the test's own thread serves
// the work, as the application's event loop would.
class LoopMainQueue : public MainQueue {
 public:
  void post(std::function<void()> task) override {
    {
      const std::lock_guard lock(mutex_);
      tasks_.push_back(std::move(task));
    }
    posted_.notify_all();
  }

  // Serves work on the calling thread until `done` holds; gives up after
  // `limit` of real time (a hang, not a timing) and answers whether it held.
  bool serveUntil(const std::function<bool()>& done, std::chrono::seconds limit = std::chrono::seconds(30)) {
    const auto until = std::chrono::steady_clock::now() + limit;
    while (!done()) {
      std::function<void()> task;
      {
        std::unique_lock lock(mutex_);
        if (!posted_.wait_until(lock, until, [this] { return !tasks_.empty(); })) return done();
        task = std::move(tasks_.front());
        tasks_.pop_front();
      }
      task();
    }
    return true;
  }

  // Waits until some work is queued, without running it.
  bool waitForWork(std::chrono::seconds limit = std::chrono::seconds(30)) {
    std::unique_lock lock(mutex_);
    return posted_.wait_for(lock, limit, [this] { return !tasks_.empty(); });
  }

  // Runs what is queued, and what that posts, without waiting for more.
  int drain() {
    int ran = 0;
    for (;;) {
      std::function<void()> task;
      {
        const std::lock_guard lock(mutex_);
        if (tasks_.empty()) return ran;
        task = std::move(tasks_.front());
        tasks_.pop_front();
      }
      task();
      ++ran;
    }
  }

 private:
  std::mutex mutex_;
  std::condition_variable posted_;
  std::deque<std::function<void()>> tasks_;
};

}  // namespace kesta::test
