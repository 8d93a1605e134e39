#pragma once

// The app model's threads for benchmarks: background jobs on threads of their
// own, and the benchmark's thread serving as the main thread, timing each task
// it runs.
#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <filesystem>
#include <functional>
#include <mutex>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "model/ports/background_executor.h"
#include "model/ports/main_queue.h"

namespace kesta::bench {

// Each job on a thread of its own, joined when the executor goes.
class ThreadExecutor : public model::BackgroundExecutor {
 public:
  void run(std::function<void()> job) override {
    const std::lock_guard lock(mutex_);
    threads_.emplace_back(std::move(job));
  }

 private:
  std::mutex mutex_;
  std::vector<std::jthread> threads_;
};

// Runs posted work as it arrives and waits for more in between; remembers the
// longest task, the longest the window would have stood still.
class WaitingMainQueue : public model::MainQueue {
 public:
  void post(std::function<void()> task) override {
    {
      const std::lock_guard lock(mutex_);
      tasks_.push_back(std::move(task));
    }
    arrived_.notify_one();
  }

  // Serves the queue until `done` holds and nothing is left to run.
  void serveUntil(const std::function<bool()>& done) {
    for (;;) {
      std::unique_lock lock(mutex_);
      if (tasks_.empty() && done()) return;
      arrived_.wait(lock, [&] { return !tasks_.empty(); });
      auto task = std::move(tasks_.front());
      tasks_.pop_front();
      lock.unlock();
      const auto start = std::chrono::steady_clock::now();
      task();
      task = nullptr;  // what it held is let go within its time
      longest_ = std::max(longest_, std::chrono::steady_clock::now() - start);
    }
  }

  // The longest task served since the last call, in milliseconds.
  double takeLongestMilliseconds() {
    return std::chrono::duration<double, std::milli>(std::exchange(longest_, {})).count();
  }

 private:
  std::mutex mutex_;
  std::condition_variable arrived_;
  std::deque<std::function<void()>> tasks_;
  std::chrono::steady_clock::duration longest_{};
};

inline std::filesystem::path freshFolder(const std::string& name) {
  std::random_device random;
  const auto folder =
      std::filesystem::temp_directory_path() / ("kesta-bench-" + name + "-" + std::to_string(random()));
  std::filesystem::create_directories(folder);
  return folder;
}

}  // namespace kesta::bench
