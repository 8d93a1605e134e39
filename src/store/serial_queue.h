#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

namespace kesta {

// One worker thread that runs submitted work one item at a time, in the order
// of submission. Destroying the queue runs everything already submitted first.
class SerialQueue {
 public:
  explicit SerialQueue(std::string label);
  SerialQueue(const SerialQueue&) = delete;
  SerialQueue& operator=(const SerialQueue&) = delete;
  ~SerialQueue();

  const std::string& label() const { return label_; }

  // Queues `work` and returns at once. An exception thrown by `work` is dropped.
  void async(std::function<void()> work);
  // Queues `work` and returns when it has run, after everything queued before
  // it. Must not be called from the queue's own work.
  void sync(std::function<void()> work);

 private:
  void run(std::stop_token stop);

  std::string label_;
  std::mutex mutex_;
  std::condition_variable_any ready_;
  std::deque<std::function<void()>> pending_;
  std::jthread worker_;  // last: starts after the members it uses exist
};

}  // namespace kesta
